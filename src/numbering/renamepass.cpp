#include "numbering/renamepass.h"

#include "numbering/newpath.h"
#include "numbering/number.h"
#include "platform/failure.h"
#include "platform/format.h"

namespace quillo {

namespace {

// Renames entry e to its new name; the move prefix is a failure when the
// move folder setting is unusable, so that every target asks.
Status renameEntry(const FileEntry& e, const Result<QString>& folderPart, const QString& fileName,
                   FileSystem& fs) {
    if (!folderPart) return folderPart.failure();
    const Result<QString> to = newPath(folderPart.value(), fileName);
    if (!to) return to.failure();
    return fs.rename(e.path(), to.value());
}

// A reference, or a target that is a reference file under another path (a
// link or mount into the reference folder) as collected or as it is now.
bool keeps(const FileEntry& e, const ReferenceGuard& guard, FileSystem& fs) {
    if (guard.keeps(e)) return true;
    if (guard.empty()) return false;
    const Result<FileInfo> now = fs.info(e.path());
    return now && guard.isReference(now->id());
}

}  // namespace

CommandOutcome runRename(const RenameRequest& request, FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs) {
    CommandOutcome outcome;
    if (table.FileCount() == 0) return outcome;
    progress.message(QStringLiteral("リネームしています、しばらくお待ち下さい"));

    const bool move = request.chkMove == 1;
    const Result<QString> prefix =
        move ? destinationPrefix(request.moveFolder) : Result<QString>(QString());
    const qint32 limit = table.FileCount();
    const QString extension = extensionPart(request.extension, request.chkJpegJpg);
    const ReferenceGuard guard(table);
    QString number = request.number;

    outcome.end = CommandEnd::Completed;
    for (qint32 i = 0; i < limit; ++i) {
        const FileEntry& e = table.entries[size_t(i)];
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        if (!keeps(e, guard, fs)) {
            const Result<QString> folderPart = move ? prefix : Result<QString>(e.dir);
            const Status renamed =
                renameEntry(e, folderPart, request.name + number + extension, fs);
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
    if (outcome.end == CommandEnd::Completed && outcome.failed == 0)
        outcome.message = QStringLiteral("リネームしました");
    else
        outcome.message = countedMessage(outcome, QStringLiteral("リネーム"));
    return outcome;
}

}  // namespace quillo
