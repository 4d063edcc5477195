#include "numbering/renamepass.h"

#include "core/failure.h"
#include "core/format.h"
#include "journal/runjournal.h"
#include "numbering/heldfolder.h"
#include "numbering/number.h"
#include "numbering/planrenames.h"

namespace quillo {

namespace {

// The rename of e to to, written down first when there is a journal: where
// the file was, where it goes and which file it is as it is renamed.
Status renameRecorded(const FileEntry& e, FolderHandle& folder, const FileInfo& now,
                      const QString& to, bool move, RunJournal* journal) {
    const QString into = move ? to : fileNameOf(to);
    if (!journal) return folder.rename(e.name, into);
    JournalRow row;
    row.op = move ? JournalOp::Move : JournalOp::Rename;
    row.oldPath = e.path();
    row.newPath = to;
    row.before = now;
    return recorded(journal, row, [&] { return folder.rename(e.name, into); });
}

}  // namespace

CommandOutcome renameFiles(const FileTable& table, RenamePlan& plan, Progress& progress,
                           MessageBox& box, FileSystem& fs, RunJournal* journal) {
    CommandOutcome outcome;
    outcome.end = CommandEnd::Completed;
    outcome.failed = plan.failed;
    outcome.kept = plan.kept;
    progress.message(QStringLiteral("リネームしています、しばらくお待ち下さい"));
    const bool move = !plan.movePrefix.isEmpty();
    const ReferenceGuard guard(table);
    HeldFolder held(fs);
    const qint32 total = qint32(plan.rows.size());
    for (qint32 k = 0; k < total; ++k) {
        RenameRow& row = plan.rows[size_t(k)];
        if (row.outcome == RowOutcome::Failed) continue;  // asked about by the search
        if (!row.ticked) {
            row.outcome = RowOutcome::LeftOut;
            continue;
        }
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        const FileEntry& e = table.entries[size_t(row.entry)];
        const QString to = plan.newPath(size_t(k), table.entries);
        const Result<FolderHandle*> folder = held.of(e.dir.text());
        Result<FileInfo> now =
            folder ? folder.value()->info(e.name) : Result<FileInfo>(folder.failure());
        Status renamed = now ? Status() : Status(now.failure());
        if (folder && keepsNow(e, *folder.value(), guard)) {
            row.outcome = RowOutcome::Kept;
            ++outcome.kept;
        } else if (now && !isAsPlanned(now.value(), row.state)) {
            row.outcome = RowOutcome::Changed;
            ++outcome.changed;
        } else {
            // A file that already has its new name is done without a rename.
            if (renamed && !row.named)
                renamed = renameRecorded(e, *folder.value(), now.value(), to, move, journal);
            row.outcome = renamed ? RowOutcome::Done : RowOutcome::Failed;
            row.code = qint16(renamed ? 0 : renamed.failure().code);
            if (renamed) {
                ++outcome.done;
            } else {
                ++outcome.failed;
                if (box.show(failureQuestion(renamed.failure(), e.path(), to), Buttons::YesNo) !=
                    Answer::Yes) {
                    outcome.end = CommandEnd::Aborted;
                    break;
                }
            }
            // A failed rename that the user continued still uses its number up.
            progress.number(advanceNumber(plan.numberText(size_t(k)), plan.width));
        }
        progress.count(progressCaption(row.entry + 1, table.FileCount()));
    }
    // A stopped run saves too, so that the next run goes on after the last
    // number used; only a No to a failure question leaves the file alone.
    outcome.saveSettings = outcome.end != CommandEnd::Aborted;
    outcome.clearList = true;
    outcome.message = countedMessage(outcome, QStringLiteral("リネーム"));
    return outcome;
}

CommandOutcome runRename(const RenameRequest& request, const FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs, RunJournal* journal) {
    RenameSearch search = planRenames(request, table, progress, box, fs);
    if (search.outcome.end != CommandEnd::Completed || search.plan.empty()) return search.outcome;
    return renameFiles(table, search.plan, progress, box, fs, journal);
}

}  // namespace quillo
