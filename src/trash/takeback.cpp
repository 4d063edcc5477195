// Moving a file in, giving a slot back, taking a trashed file back, and
// forgetting the record of one that never arrived: the same steps for every
// trash; where its records live and what they are called is each trash's own.
#include "core/failure.h"
#include "core/paths.h"
#include "trash/recordfiles.h"
#include "trash/trashcan.h"

namespace quillo {

Status TrashCan::moveIn(FolderHandle& folder, const QString& name, const TrashSlot& slot) {
    return folder.moveInto(name, *slot.bin->files, slot.name);
}

Status TrashCan::release(const TrashSlot& slot) {
    return recordFolder(*slot.bin).remove(recordName(slot.name));
}

Status TrashCan::takeBack(const QString& trashedPath, const FileInfo& expected, FolderHandle& to,
                          const QString& toName, const QString& originalPath) {
    BinLookup bin = binOfTrashed(trashedPath);
    if (!bin) return bin.failure();
    if (!bin.value()) return makeFailure(code::PathFileAccess);
    const QString name = fileNameOf(trashedPath);
    const Result<FileInfo> now = bin.value()->files->info(name);
    if (!now) return now.failure();
    if (now->type != EntryType::File || !sameRecordedState(now.value(), expected))
        return makeFailure(code::FileNotFound);
    if (const Status moved = bin.value()->files->moveInto(name, to, toName); !moved) return moved;
    // A record left behind would only list a file that is no longer there;
    // any other file's record stays.
    if (recordFor(*bin.value(), name, originalPath))
        (void)recordFolder(*bin.value()).remove(recordName(name));
    return {};
}

void TrashCan::forgetRecord(const QString& trashedPath, const QString& originalPath) {
    BinLookup bin = binOfTrashed(trashedPath);
    if (!bin || !bin.value()) return;
    const QString name = fileNameOf(trashedPath);
    if (!isMissing(bin.value()->files->info(name))) return;
    if (recordFor(*bin.value(), name, originalPath))
        (void)recordFolder(*bin.value()).remove(recordName(name));
}

}  // namespace quillo
