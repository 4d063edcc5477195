#pragma once
// The per-user folders the program keeps its own files in.

#include <QString>

namespace quillo {

// The folder for a user's application data: $XDG_DATA_HOME where it is an
// absolute path (a relative one is not valid), else ~/.local/share.
QString userDataFolder();

}  // namespace quillo
