#pragma once
// The record files and locks of a Windows machine, for its file system.

#include <memory>

#include "core/result.h"
#include "platform/filesystem.h"
#include "platform/recordfile.h"

namespace quillo::win {

Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path);
Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path);
Result<std::unique_ptr<FileLock>> lockFile(const QString& path);

}  // namespace quillo::win
