#include "dedup/removal.h"

#include "core/failure.h"
#include "core/paths.h"
#include "journal/runjournal.h"
#include "trash/trashcan.h"

namespace quillo {

namespace {

// Tries for a free trash name when other programs keep taking the one found.
constexpr int kTrashTries = 8;

// Moves name out of folder into the trash: written down first, then its
// record, then the move. A run killed between the record and the move
// leaves a pending row, which later settles the record.
Status trashRecorded(TrashCan& trash, TrashBin& bin, FolderHandle& folder, const QString& name,
                     JournalRow& row, RunJournal* journal) {
    Status moved;
    for (int tries = 0; tries < kTrashTries; ++tries) {
        const Result<TrashSlot> slot = trash.freeSlot(bin, name);
        if (!slot) return slot.failure();
        row.op = JournalOp::Trash;
        row.newPath = slot->filePath;
        moved = recorded(journal, row, [&] {
            if (const Status written =
                    trash.writeRecord(slot.value(), row.oldPath, row.before.size);
                !written)
                return written;
            const Status in = trash.moveIn(folder, name, slot.value());
            if (!in) (void)trash.release(slot.value());
            return in;
        });
        // Another program took the name between the look and the record.
        if (moved || moved.failure().code != code::FileExists || !moved.failure().path.isEmpty())
            return moved;
    }
    return moved;
}

Removed outcome(Removal how, const Status& status) {
    return status ? Removed{how, {}} : Removed{Removal::Failed, status};
}

}  // namespace

Removed removeDuplicate(FolderHandle& folder, const QString& name, JournalRow row,
                        const DedupOptions& options, RemovalTools* tools) {
    RunJournal* journal = tools ? tools->journal : nullptr;
    if (options.chkDelete == CheckValue::On) {
        const Result<QString> into = destinationPrefix(options.deleteFolder);
        if (!into) return {Removal::Failed, into.failure()};
        row.op = JournalOp::Move;
        row.newPath = into.value() + name;
        return outcome(Removal::Moved,
                       recorded(journal, row, [&] { return folder.rename(name, row.newPath); }));
    }
    bool forGood = !tools || !tools->trash;
    if (!forGood) {
        // A trash that could not be looked for is the file's own trouble (its
        // folder gone, say), not a sign that its drive has none.
        const Result<TrashBin*> bin = tools->trash->binFor(folder);
        if (!bin) return {Removal::Failed, bin.failure()};
        if (bin.value())
            return outcome(Removal::Trashed,
                           trashRecorded(*tools->trash, *bin.value(), folder, name, row, journal));
        if (!tools->deleteWithoutTrash) return {Removal::NeedsTrashAnswer, {}};
        if (!*tools->deleteWithoutTrash) return {Removal::KeptWithoutTrash, {}};
        forGood = true;
    }
    row.op = JournalOp::Delete;
    row.newPath.clear();
    return outcome(Removal::DeletedForGood,
                   recorded(journal, row, [&] { return folder.remove(name); }));
}

}  // namespace quillo
