#pragma once
// Whose trash and where the home one lives: given from outside, so tests can
// point it into a temporary folder.

#include <QString>

namespace quillo {

struct TrashHome {
    QString dataHome;  // the folder holding the home trash ("Trash")
    uint uid = 0;      // names the user's trash on other file systems

    // $XDG_DATA_HOME when it is an absolute path, else ~/.local/share; the
    // user the program runs as.
    static TrashHome fromEnvironment();
};

}  // namespace quillo
