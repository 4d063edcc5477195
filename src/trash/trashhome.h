#pragma once
// Whose trash and where the home one lives: given from outside, so tests can
// point it into a temporary folder.

#include <QString>

namespace quillo {

struct TrashHome {
    QString dataHome;  // the folder holding the home trash ("Trash")

    // The per-user data folder. The trash is that of the user the program
    // runs as.
    static TrashHome fromEnvironment();
};

}  // namespace quillo
