#include "journal/journalsettle.h"

#include "core/failure.h"

namespace quillo {

namespace {

bool holds(FileSystem& fs, const QString& path, const FileInfo& file) {
    const Result<FileInfo> info = fs.info(path);
    return info && sameFile(info.value(), file);
}

// A deleted file's inode is soon given to a new file, often at once and in
// the same folder: the file is still there only when its size and
// modification time are the same too.
bool isGone(FileSystem& fs, const QString& path, const FileInfo& file) {
    const Result<FileInfo> info = fs.info(path);
    if (info) return !sameRecordedState(info.value(), file);
    const int code = info.failure().code;
    return code == code::FileNotFound || code == code::PathNotFound;
}

bool happened(const JournalRow& row, FileSystem& fs) {
    if (row.op == JournalOp::Delete) return isGone(fs, row.oldPath, row.before);
    return !row.newPath.isEmpty() && holds(fs, row.newPath, row.before);
}

}  // namespace

void settle(JournalRun& run, FileSystem& fs) {
    for (JournalRow& row : run.rows) {
        if (row.state != JournalState::Pending) continue;
        row.state = happened(row, fs) ? JournalState::Done : JournalState::Failed;
        row.code = 0;
    }
}

}  // namespace quillo
