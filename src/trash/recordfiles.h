#pragma once
// What both trashes do with the files in their held folders: tell a free
// name from a taken one, and read back a record they wrote.

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// True when info says nothing is there (as opposed to a failure to look).
bool isMissing(const Result<FileInfo>& info);

// The bytes of the regular file name in folder; nothing when it is missing,
// no regular file or larger than a record of the trash ever is.
std::optional<QByteArray> readRecordFile(FolderHandle& folder, const QString& name);

}  // namespace quillo
