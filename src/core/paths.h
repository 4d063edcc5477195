#pragma once
// Path texts: the one place that joins a folder setting with a name, and that
// knows the two forms of paths, POSIX ("/…") and Windows ("C:\…", "\\srv\share").

#include <QString>

#include "core/result.h"

namespace quillo {

enum class PathStyle { Posix, Windows };

// This build's style, chosen by CMake per system.
inline constexpr PathStyle kHostPathStyle = PathStyle::QUILLO_HOST_PATH_STYLE;

// The separator of path texts inside the program: Qt's, which every
// platform's file functions accept. Windows texts may also hold "\".
inline constexpr QChar kSeparator = QLatin1Char('/');

// A path text as the program holds it: on Windows, "\" becomes "/".
QString internalPath(const QString& text, PathStyle style = kHostPathStyle);

// A path as the user sees it and the settings file holds it: on Windows with
// "\" and a drive root as its bare drive ("C:").
QString nativePath(const QString& path, PathStyle style = kHostPathStyle);

// The length of the root path starts with: "/"; on Windows also a drive ("C:"
// and its separator, if any) or a share ("//srv/share"); 0 for a relative text.
qsizetype rootLength(const QString& path, PathStyle style = kHostPathStyle);

// True for an absolute folder text: "/…" here, a drive or share elsewhere.
// Qt's resource paths (":/…") are no folders.
bool isAbsoluteFolder(const QString& folder, PathStyle style = kHostPathStyle);

// Folder text as it is written into FileDir and prefixes: the folder followed by
// the separator, unless it already ends with one (the root "/").
QString folderPrefix(const QString& folder, PathStyle style = kHostPathStyle);

// folderPrefix(folder) + name.
QString joinPath(const QString& folder, const QString& name, PathStyle style = kHostPathStyle);

// The prefix of a folder that files are moved into. A setting that is empty or
// relative (only a hand-edited settings file gives one) would send files to the
// root or to wherever the program was started: path not found (76).
Result<QString> destinationPrefix(const QString& folder, PathStyle style = kHostPathStyle);

// The folder that holds path: its text up to the last separator; the root is
// its own parent.
QString parentFolder(const QString& path, PathStyle style = kHostPathStyle);

// The last part of path: the name after its last separator.
QString fileNameOf(const QString& path, PathStyle style = kHostPathStyle);

// A folder text as the settings hold it: no trailing separator, except the
// root "/" (a drive root is its bare drive, "C:").
QString folderSetting(const QString& path, PathStyle style = kHostPathStyle);

// Whether two path texts name the same place as the system compares names:
// Windows ignores letter case.
Qt::CaseSensitivity pathCase(PathStyle style = kHostPathStyle);

}  // namespace quillo
