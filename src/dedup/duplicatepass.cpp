#include "dedup/duplicatepass.h"

#include "core/failure.h"
#include "core/format.h"
#include "dedup/filcomp.h"

namespace quillo {

namespace {

// Asked once per run, for the first duplicate that cannot go to a trash.
QString noTrashQuestion(const QString& path) {
    return path + QStringLiteral("\rこのファイルのあるドライブにはごみ箱がありません\r") +
           QStringLiteral("ごみ箱に移せないファイルを完全に削除しますか？");
}

RowOutcome rowOutcome(const PairResult& r) {
    if (r.changed) return RowOutcome::Changed;
    if (r.kept) return RowOutcome::Kept;
    switch (r.how) {
        case Removal::Moved:
        case Removal::Trashed:
            return RowOutcome::Done;
        case Removal::DeletedForGood:
            return RowOutcome::DeletedForGood;
        default:
            return RowOutcome::Failed;
    }
}

}  // namespace

CommandOutcome removeDuplicates(const FileTable& table, DuplicatePlan& plan,
                                const DedupOptions& options, qint32& DupCount, Progress& progress,
                                MessageBox& box, FileSystem& fs, RemovalTools tools) {
    const RemovalWords words = removalWords(options, tools.trash != nullptr);
    CommandOutcome outcome;
    outcome.end = CommandEnd::Completed;
    outcome.clearList = true;
    outcome.failed = plan.failed;
    outcome.kept = plan.kept;
    progress.message(words.busy);
    const ReferenceGuard guard(table);
    FolderCache folders(fs, guard);
    CompareBuffers buffers;
    const qint32 total = qint32(plan.rows.size());
    qint32 forGood = 0;
    for (qint32 k = 0; k < total; ++k) {
        DuplicateRow& row = plan.rows[size_t(k)];
        if (!row.ticked) {
            row.outcome = RowOutcome::LeftOut;
            continue;
        }
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        const DuplicateGroup& group = plan.groupOf(row);
        const FileEntry& kept = table.entries[size_t(group.kept)];
        const FileEntry& dup = table.entries[size_t(row.entry)];
        const auto act = [&] {
            return FilComp(kept, plan.keptState(group, kept.size), dup, plan.state(row, dup.size),
                           options, guard, DupCount, folders, buffers, &tools);
        };
        PairResult r = act();
        if (r.how == Removal::NeedsTrashAnswer) {
            tools.deleteWithoutTrash =
                box.show(noTrashQuestion(dup.path()), Buttons::YesNo) == Answer::Yes;
            r = act();
        }
        row.outcome = rowOutcome(r);
        row.code = quint8(r.status ? 0 : r.status.failure().code);
        outcome.changed += r.changed ? 1 : 0;
        outcome.kept += r.kept ? 1 : 0;
        forGood += row.outcome == RowOutcome::DeletedForGood ? 1 : 0;
        if (row.outcome == RowOutcome::Failed) {
            ++outcome.failed;
            if (!r.status.ok() && box.show(failureQuestion(r.status.failure(), r.failedPath),
                                           Buttons::YesNo) == Answer::No) {
                outcome.end = CommandEnd::Aborted;
                break;
            }
        }
        progress.count(progressCaption(k + 1, total));
    }
    // A run cut short by the user is not saved, as after a No to a question.
    outcome.saveSettings = outcome.end == CommandEnd::Completed;
    // Files deleted for good where a drive had no trash are said apart.
    QStringList more;
    QString done = words.done;
    outcome.done = DupCount - (tools.trash ? forGood : 0);
    if (tools.trash && forGood > 0) {
        if (outcome.done > 0) {
            more << QString::number(forGood) + QStringLiteral("件は完全に削除しました");
        } else {
            outcome.done = forGood;
            done = QStringLiteral("完全に削除しました");
        }
    }
    outcome.message = countedMessage(outcome, done, words.failed, more);
    return outcome;
}

CommandOutcome runDuplicateRemoval(const FileTable& table, const DedupOptions& options,
                                   qint32& DupCount, Progress& progress, MessageBox& box,
                                   FileSystem& fs, RemovalTools tools) {
    const RemovalWords words = removalWords(options, tools.trash != nullptr);
    DuplicateSearch search = findDuplicates(table, options, words, DupCount, progress, box, fs);
    if (search.outcome.end != CommandEnd::Completed || search.plan.empty()) return search.outcome;
    return removeDuplicates(table, search.plan, options, DupCount, progress, box, fs, tools);
}

}  // namespace quillo
