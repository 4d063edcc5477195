#pragma once
// The per-user folders of what does not live beside the executable.

#include <QString>

namespace quillo {

// The folder for a user's application data: on Linux $XDG_DATA_HOME where it
// is an absolute path (a relative one is not valid), else ~/.local/share; on
// Windows %LOCALAPPDATA%. The journals live in its Quillo/journal.
QString userDataFolder();

// Where the settings file goes when the executable's folder cannot be written:
// ~/.config/Quillo on Linux, %APPDATA%\Quillo on Windows; empty when the
// system names none.
QString userConfigFolder();

}  // namespace quillo
