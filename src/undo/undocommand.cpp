#include "undo/undocommand.h"

#include "core/failure.h"
#include "core/format.h"
#include "core/paths.h"
#include "journal/journalrecovery.h"
#include "journal/runjournal.h"
#include "trash/trashcan.h"

namespace quillo {

namespace {

const QString kInUse =
    QStringLiteral("直前の処理は別のQuilloが使用中です。終わってからもう一度お試し下さい");

// The file the journal names, as it was when the run changed it; only a
// regular file is ever changed.
bool isTheOne(const Result<FileInfo>& now, const FileInfo& before) {
    return now && now->type == EntryType::File && sameRecordedState(now.value(), before);
}

bool changed(const JournalRow& row) {
    return row.state == JournalState::Done && row.op != JournalOp::Restore;
}

bool isBack(const JournalRow& row, FileSystem& fs) {
    return isTheOne(fs.info(row.oldPath), row.before);
}

// Still where the run put it, as the run left it: it can be taken back.
bool canComeBack(const JournalRow& row, FileSystem& fs) {
    return row.op != JournalOp::Delete && !row.newPath.isEmpty() &&
           isTheOne(fs.info(row.newPath), row.before);
}

// The changes of a run not taken back yet, newest first.
std::vector<const JournalRow*> notBack(const JournalRun& run, FileSystem& fs) {
    std::vector<const JournalRow*> rows;
    for (auto row = run.rows.rbegin(); row != run.rows.rend(); ++row)
        if (changed(*row) && !isBack(*row, fs)) rows.push_back(&*row);
    return rows;
}

bool anyBack(const JournalRun& run, FileSystem& fs) {
    return std::any_of(run.rows.begin(), run.rows.end(),
                       [&](const JournalRow& row) { return changed(row) && isBack(row, fs); });
}

// Moves one changed file back, written down first; both folders held.
Status takeBack(const JournalRow& row, RunJournal& journal, TrashCan& trash, FileSystem& fs) {
    if (!canComeBack(row, fs)) return makeFailure(code::FileNotFound);
    Result<std::unique_ptr<FolderHandle>> to = fs.openFolder(parentFolder(row.oldPath));
    if (!to) return to.failure();
    const QString toName = fileNameOf(row.oldPath);
    JournalRow restore;
    restore.op = JournalOp::Restore;
    restore.oldPath = row.newPath;
    restore.newPath = row.oldPath;
    restore.before = row.before;
    return recorded(&journal, restore, [&]() -> Status {
        if (row.op == JournalOp::Trash)
            return trash.takeBack(row.newPath, row.before, *to.value(), toName, row.oldPath);
        Result<std::unique_ptr<FolderHandle>> from = fs.openFolder(parentFolder(row.newPath));
        if (!from) return from.failure();
        const QString name = fileNameOf(row.newPath);
        if (!isTheOne(from.value()->info(name), row.before)) return makeFailure(code::FileNotFound);
        return from.value()->moveInto(name, *to.value(), toName);
    });
}

QString question(qint32 count, bool partly) {
    return (partly ? QStringLiteral("直前の処理の残り（") : QStringLiteral("直前の処理（")) +
           QString::number(count) + QStringLiteral("件）を元に戻しますか？");
}

// "N件、元に戻しました（K件は戻せませんでした）", and after a stop
// "中止しました（…）" around the same parts.
QString undoMessage(const CommandOutcome& o) {
    return countedMessage(o, QStringLiteral("元に戻しました"), QStringLiteral("戻せませんでした"));
}

}  // namespace

Result<std::unique_ptr<HeldJournal>> lastUndoableRun(const JournalFolder& journals) {
    // No run is numbered, and no other undo chooses, while this one chooses.
    Result<std::unique_ptr<FileLock>> folder = journals.hold();
    if (!folder) return folder.failure();
    for (const JournalEntry& entry : journals.list()) {
        if (entry.name.undone || entry.name.kind == JournalKind::Undo) continue;
        Result<std::unique_ptr<HeldJournal>> held = HeldJournal::open(journals.fs(), entry.path);
        if (!held) {
            // The newest run is under way elsewhere: not one before it instead.
            if (held.failure().code == code::PermissionDenied) return held.failure();
            continue;
        }
        (void)held.value()->settle();
        const Result<JournalRun*> run = held.value()->run();
        if (run && !notBack(*run.value(), journals.fs()).empty()) return std::move(held.value());
    }
    return std::unique_ptr<HeldJournal>();
}

void recoverRuns(const JournalFolder& journals, TrashCan& trash) {
    recoverJournals(journals, [&](const JournalRow& row) {
        if (row.op == JournalOp::Trash && !row.newPath.isEmpty())
            trash.forgetRecord(row.newPath, row.oldPath);
    });
}

CommandOutcome runUndo(const JournalFolder& journals, TrashCan& trash, Progress& progress,
                       MessageBox& box) {
    CommandOutcome outcome;
    FileSystem& fs = journals.fs();
    recoverRuns(journals, trash);
    Result<std::unique_ptr<HeldJournal>> held = lastUndoableRun(journals);
    if (!held || !held.value()) {
        box.show(held ? QStringLiteral("元に戻す処理はありません") : kInUse, Buttons::Ok);
        return outcome;
    }
    const JournalRun& run = *held.value()->run().value();
    const std::vector<const JournalRow*> rows = notBack(run, fs);
    const qint32 total = qint32(rows.size());
    if (box.show(question(total, anyBack(run, fs)), Buttons::YesNo) != Answer::Yes) return outcome;

    progress.message(QStringLiteral("元に戻しています、しばらくお待ち下さい"));
    RunJournal journal(journals, JournalKind::Undo);
    outcome.end = CommandEnd::Completed;
    outcome.clearList = true;
    qint32 seen = 0;
    for (const JournalRow* row : rows) {
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        if (takeBack(*row, journal, trash, fs))
            ++outcome.done;
        else
            ++outcome.failed;
        progress.count(progressCaption(++seen, total));
    }
    (void)journal.finish();
    if (outcome.end == CommandEnd::Completed) {
        // Taken back as far as it can be: the next undo goes to the run
        // before, unless a file is still where this run put it.
        const bool more = std::any_of(rows.begin(), rows.end(),
                                      [&](const JournalRow* row) { return canComeBack(*row, fs); });
        if (!more) (void)held.value()->markUndone();
        if (run.kind == JournalKind::Number && !run.firstNumber.isEmpty() &&
            notBack(run, fs).empty()) {
            progress.number(run.firstNumber);
            outcome.saveSettings = true;
        }
    }
    outcome.message = undoMessage(outcome);
    return outcome;
}

}  // namespace quillo
