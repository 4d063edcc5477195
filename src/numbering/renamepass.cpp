#include "numbering/renamepass.h"

#include "core/failure.h"
#include "core/format.h"
#include "journal/runjournal.h"
#include "numbering/newpath.h"
#include "numbering/number.h"

namespace quillo {

namespace {

// The folder of the entries being renamed, held while consecutive entries
// share it, so that the look and the rename happen in the same folder.
class HeldFolder {
  public:
    explicit HeldFolder(FileSystem& fs) : m_fs(fs) {}
    Result<FolderHandle*> of(const FileEntry& e) {
        if (!m_held || e.dir != m_dir) {
            m_dir = e.dir;
            Result<std::unique_ptr<FolderHandle>> held = m_fs.openFolder(e.dir);
            if (!held) {
                m_held.reset();
                return held.failure();
            }
            m_held = std::move(held.value());
        }
        return m_held.get();
    }

  private:
    FileSystem& m_fs;
    QString m_dir;
    std::unique_ptr<FolderHandle> m_held;
};

// A target that is a reference file under another path (a link or mount into
// the reference folder, or a folder swapped for one) as it is now.
bool keepsNow(const FileEntry& e, FolderHandle& folder, const ReferenceGuard& guard) {
    if (guard.empty()) return false;
    if (guard.holdsReferences(folder)) return true;
    const Result<FileInfo> now = folder.info(e.name);
    return now && guard.isReference(now->id());
}

// The rename of e to to, written down first when there is a journal: where
// the file was, where it goes and which file it is as it is renamed, so that
// an undo knows it even when it changed after its collection.
Status renameRecorded(const FileEntry& e, FolderHandle& folder, const QString& to, bool move,
                      RunJournal* journal) {
    if (!journal) return folder.rename(e.name, to);
    const Result<FileInfo> before = folder.info(e.name);
    if (!before) return before.failure();
    JournalRow row;
    row.op = move ? JournalOp::Move : JournalOp::Rename;
    row.oldPath = e.path();
    row.newPath = move ? to : e.dir + to;
    row.before = before.value();
    return recorded(journal, row, [&] { return folder.rename(e.name, to); });
}

}  // namespace

CommandOutcome runRename(const RenameRequest& request, FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs, RunJournal* journal) {
    CommandOutcome outcome;
    if (table.FileCount() == 0) return outcome;
    progress.message(QStringLiteral("リネームしています、しばらくお待ち下さい"));

    const bool move = request.chkMove == CheckValue::On;
    const Result<QString> prefix =
        move ? destinationPrefix(request.moveFolder) : Result<QString>(QString());
    const qint32 limit = table.FileCount();
    const QString extension = extensionPart(request.extension, request.chkJpegJpg);
    const ReferenceGuard guard(table);
    HeldFolder held(fs);
    QString number = request.number;

    outcome.end = CommandEnd::Completed;
    for (qint32 i = 0; i < limit; ++i) {
        const FileEntry& e = table.entries[size_t(i)];
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        if (e.kind == FileKind::Refer) {
            // References are listed to be compared against, never renamed.
        } else if (Result<FolderHandle*> folder = held.of(e);
                   guard.keeps(e) || (folder && keepsNow(e, *folder.value(), guard))) {
            ++outcome.kept;
        } else {
            const Result<QString> to =
                move ? (prefix ? newPath(prefix.value(), request.name + number + extension)
                               : Result<QString>(prefix.failure()))
                     : newPath(QString(), request.name + number + extension);
            Status renamed = !folder ? Status(folder.failure())
                             : !to   ? Status(to.failure())
                                     : Status();
            // A file that already has its new name is done without a rename.
            if (renamed && to.value() != (move ? e.path() : e.name))
                renamed = renameRecorded(e, *folder.value(), to.value(), move, journal);
            if (renamed) {
                ++outcome.done;
            } else {
                ++outcome.failed;
                if (box.show(failureQuestion(renamed.failure(), e.path()), Buttons::YesNo) !=
                    Answer::Yes) {
                    outcome.end = CommandEnd::Aborted;
                    break;
                }
            }
            // A failed rename that the user continued still uses its number up.
            number = advanceNumber(number, request.DigitCount);
            progress.number(number);
        }
        progress.count(progressCaption(i + 1, limit));
    }

    // A stopped run saves too, so that the next run goes on after the last
    // number used; only a No to a failure question leaves the file alone.
    outcome.saveSettings = outcome.end != CommandEnd::Aborted;
    outcome.clearList = true;
    if (outcome.end == CommandEnd::Completed && outcome.failed == 0 && outcome.kept == 0)
        outcome.message = QStringLiteral("リネームしました");
    else
        outcome.message = countedMessage(outcome, QStringLiteral("リネーム"));
    return outcome;
}

}  // namespace quillo
