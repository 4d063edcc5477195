#include "undo/undocommand.h"

#include "core/format.h"
#include "core/paths.h"
#include "journal/journalfiles.h"
#include "journal/journalreader.h"
#include "journal/journalsettle.h"
#include "journal/runjournal.h"
#include "trash/trashinfo.h"

namespace quillo {

namespace {

bool changedFile(const JournalRow& row) {
    return row.state == JournalState::Done;
}

qint32 changes(const JournalRun& run) {
    return qint32(std::count_if(run.rows.begin(), run.rows.end(), changedFile));
}

// The file the journal names, as it was when the run changed it; only a
// regular file is ever changed.
bool isTheOne(const FileInfo& now, const FileInfo& before) {
    return now.type == EntryType::File && sameRecordedState(now, before);
}

bool alreadyBack(const JournalRow& row, FileSystem& fs) {
    const Result<FileInfo> there = fs.info(row.oldPath);
    return there && isTheOne(there.value(), row.before);
}

// Moves one changed file back; true when it is back at its old path.
bool takeBack(const JournalRow& row, RunJournal& journal, FileSystem& fs) {
    if (row.op == JournalOp::Delete || row.op == JournalOp::Restore || row.newPath.isEmpty())
        return false;  // deleted for good: nothing to bring back
    const QString name = fileNameOf(row.newPath);
    Result<std::unique_ptr<FolderHandle>> folder = fs.openFolder(parentFolder(row.newPath));
    const Result<FileInfo> now =
        folder ? folder.value()->info(name) : Result<FileInfo>(folder.failure());
    if (!now || !isTheOne(now.value(), row.before)) return alreadyBack(row, fs);

    JournalRow restore;
    restore.op = JournalOp::Restore;
    restore.oldPath = row.newPath;
    restore.newPath = row.oldPath;
    restore.before = now.value();
    const Status moved =
        recorded(&journal, restore, [&] { return folder.value()->rename(name, row.oldPath); });
    if (!moved) return false;
    // The trash's record goes with the file; a record left behind only lists
    // a file that is no longer there. Only a file that came out of a trash's
    // files/ folder has one, whatever an edited journal says.
    if (row.op == JournalOp::Trash && parentFolder(row.newPath).endsWith(QLatin1String("/files")))
        (void)fs.remove(trashInfoPathOf(row.newPath));
    return true;
}

// "N件、元に戻しました（K件は戻せませんでした）", and after a stop
// "中止しました（…）" around the same parts.
QString undoMessage(const CommandOutcome& o) {
    return countedMessage(o, QStringLiteral("元に戻しました"), QStringLiteral("戻せませんでした"));
}

}  // namespace

std::optional<JournalRun> lastUndoableRun(const QString& folder, FileSystem& fs) {
    for (const QString& path : journalFiles(folder)) {
        Result<JournalRun> run = readJournal(path);
        if (!run || run->undone || run->kind == JournalKind::Undo) continue;
        settle(run.value(), fs);
        if (changes(run.value()) > 0) return std::move(run.value());
    }
    return std::nullopt;
}

CommandOutcome runUndo(const QString& folder, Progress& progress, MessageBox& box, FileSystem& fs) {
    CommandOutcome outcome;
    std::optional<JournalRun> run = lastUndoableRun(folder, fs);
    if (!run) {
        box.show(QStringLiteral("元に戻す処理はありません"), Buttons::Ok);
        return outcome;
    }
    const qint32 total = changes(*run);
    if (box.show(QStringLiteral("直前の処理（") + QString::number(total) +
                     QStringLiteral("件）を元に戻しますか？"),
                 Buttons::YesNo) != Answer::Yes)
        return outcome;

    progress.message(QStringLiteral("元に戻しています、しばらくお待ち下さい"));
    RunJournal journal(folder, JournalKind::Undo);
    outcome.end = CommandEnd::Completed;
    outcome.clearList = true;
    qint32 seen = 0;
    for (auto row = run->rows.rbegin(); row != run->rows.rend(); ++row) {
        if (!changedFile(*row)) continue;
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        if (takeBack(*row, journal, fs))
            ++outcome.done;
        else
            ++outcome.failed;
        progress.count(progressCaption(++seen, total));
    }
    (void)journal.finish();
    if (outcome.end == CommandEnd::Completed) {
        // Taken back as far as it can be: the next undo goes to the run before.
        (void)markUndone(run->path);
        if (run->kind == JournalKind::Number && outcome.failed == 0 &&
            !run->firstNumber.isEmpty()) {
            progress.number(run->firstNumber);
            outcome.saveSettings = true;
        }
    }
    outcome.message = undoMessage(outcome);
    return outcome;
}

}  // namespace quillo
