#pragma once
// Path texts: the one place that joins a folder setting with a name.

#include <QString>

#include "core/result.h"

namespace quillo {

// The separator of path texts: Qt's, which every platform's file functions
// accept.
inline constexpr QChar kSeparator = QLatin1Char('/');

// True for an absolute folder text: "/…" here, a drive or share elsewhere.
// Qt's resource paths (":/…") are no folders.
bool isAbsoluteFolder(const QString& folder);

// Folder text as it is written into FileDir and prefixes: the folder followed by
// the separator, unless it already ends with one (the root "/").
QString folderPrefix(const QString& folder);

// folderPrefix(folder) + name.
QString joinPath(const QString& folder, const QString& name);

// The prefix of a folder that files are moved into. A setting that is empty or
// relative (only a hand-edited settings file gives one) would send files to the
// root or to wherever the program was started: path not found (76).
Result<QString> destinationPrefix(const QString& folder);

// The folder that holds path: its text up to the last separator; the root is
// its own parent.
QString parentFolder(const QString& path);

// The last part of path: the name after its last separator.
QString fileNameOf(const QString& path);

// A folder text as the settings hold it: no trailing separator, except the root "/".
QString folderSetting(const QString& path);

}  // namespace quillo
