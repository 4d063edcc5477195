#include "trash/recordfiles.h"

#include "core/failure.h"

namespace quillo {

namespace {
// A record is read only this far: the trash's own are a few hundred bytes
// (a Windows record of the longest path some 64 KiB).
constexpr qint64 kMaxRecordBytes = 80 << 10;
}  // namespace

bool isMissing(const Result<FileInfo>& info) {
    return !info &&
           (info.failure().code == code::FileNotFound || info.failure().code == code::PathNotFound);
}

std::optional<QByteArray> readRecordFile(FolderHandle& folder, const QString& name) {
    Result<std::unique_ptr<InputFile>> file = folder.openRead(name);
    if (!file) return std::nullopt;
    const Result<FileInfo> info = file.value()->info();
    if (!info || info->type != EntryType::File || info->size > kMaxRecordBytes) return std::nullopt;
    QByteArray bytes(info->size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const Result<qint64> got = file.value()->read(bytes.data() + done, bytes.size() - done);
        if (!got) return std::nullopt;
        if (got.value() == 0) break;
        done += got.value();
    }
    bytes.truncate(done);
    return bytes;
}

}  // namespace quillo
