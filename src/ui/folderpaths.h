#pragma once
// Path reasoning behind the folder chooser's two lists: which volumes the drive
// list offers, which volume a folder text belongs to, the chain of folders the
// directory list shows above the current one, and the folders below it.

#include <QString>
#include <QStringList>
#include <vector>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// The roots the drive list offers: the volumes without the system's own file
// systems and duplicates, the main volume ("/") first, the rest in name order.
QStringList driveRoots(const std::vector<QString>& volumes);

// True when path is root itself or lies below it, compared folder by folder
// ("/mnt/a" is not under "/mnt/ab").
bool isUnder(const QString& path, const QString& root);

// The root of roots that is the longest prefix of path; empty when none is.
QString volumeOf(const QStringList& roots, const QString& path);

// An absolute folder text in its plain form: no "." or ".." parts, no doubled
// or trailing separators (except a root); empty when not absolute.
QString cleanFolder(const QString& folder);

// The folders from root down to folder, both included (folder lies under root).
QStringList folderChain(const QString& root, const QString& folder);

// The names of the visible subfolders of folder, sorted for display. Hidden
// names and symbolic links are left out; links are never followed.
Result<QStringList> subfolders(FileSystem& fs, const QString& folder);

}  // namespace quillo
