#pragma once
// Path texts as Win32 and the native API take them, and back.

#include <QString>
#include <optional>
#include <string>

namespace quillo {

// A path for the W functions: "\" separators; a full path gets the "\\?\"
// prefix, so that long paths work and names are taken exactly as they are
// (no trailing dots or blanks cut off); a bare drive ("C:") is its root.
// Nothing for a text holding NUL, which the system would cut there.
std::optional<std::wstring> win32Path(const QString& path);

// The same in the native API's form ("\??\C:\…"), for a rename's target.
std::optional<std::wstring> ntPath(const QString& path);

// A path Win32 gave back ("\\?\C:\a", "\\?\UNC\srv\share") as the program
// holds it: "/" separators, a drive root as its bare drive ("C:").
QString pathFromWin32(const std::wstring& path);

}  // namespace quillo
