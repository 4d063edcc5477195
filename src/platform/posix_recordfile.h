#pragma once
// The record files and locks of a POSIX machine, for its file system.

#include <memory>

#include "core/result.h"
#include "platform/filesystem.h"
#include "platform/recordfile.h"

namespace quillo::posix {

Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path);
Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path);
Result<std::unique_ptr<FileLock>> lockFile(const QString& path);

}  // namespace quillo::posix
