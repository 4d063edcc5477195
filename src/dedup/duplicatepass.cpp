#include "dedup/duplicatepass.h"

#include <memory>

#include "core/failure.h"
#include "core/format.h"
#include "dedup/comparebuffers.h"
#include "dedup/rungroups.h"
#include "dedup/sizesort.h"

namespace quillo {

namespace {

QString closingMessage(const CommandOutcome& o, CheckValue chkDelete) {
    // FilComp moves only when the box is checked, so anything else (the greyed
    // value included) deleted the files and is reported as deleting.
    const QString verb =
        chkDelete == CheckValue::On ? QStringLiteral("移動") : QStringLiteral("削除");
    if (o.end == CommandEnd::Completed && o.done == 0 && o.failed == 0 && o.kept == 0)
        return QStringLiteral("重複ファイルは有りませんでした");
    return countedMessage(o, verb);
}

// Asked once per run, for the first duplicate that cannot go to a trash.
QString noTrashQuestion(const QString& path) {
    return path + QStringLiteral("\rこのファイルのあるドライブにはごみ箱がありません\r") +
           QStringLiteral("ごみ箱に移せないファイルを完全に削除しますか？");
}

}  // namespace

CommandOutcome runDuplicateRemoval(FileTable& table, const DedupOptions& options, qint32& DupCount,
                                   Progress& progress, MessageBox& box, FileSystem& fs,
                                   RemovalTools tools) {
    CommandOutcome outcome;
    if (table.FileCount() < 2) return outcome;
    std::vector<FileEntry>& rows = table.entries;
    outcome.end = CommandEnd::Completed;
    outcome.clearList = true;
    DupCount = 0;
    progress.message(QStringLiteral("並び替えています、しばらくお待ち下さい"));
    if (SizeSort(rows, progress))
        progress.message(QStringLiteral("解析しています、しばらくお待ち下さい"));
    else
        outcome.end = CommandEnd::Stopped;

    const qint32 count = table.FileCount();
    const ReferenceGuard guard(table);
    CompareBuffers buffers;
    // What became of a target the pass could not remove, counted at the end.
    enum class Left : char { No, Failed, Kept };
    std::vector<Left> left(size_t(count), Left::No);
    // Files the user was asked about once already: not compared again, so
    // that one file never brings more than one question.
    std::vector<bool> asked(size_t(count), false);
    for (qint32 j = 0; j < count; ++j)
        if (rows[size_t(j)].kind == FileKind::Target && guard.keeps(rows[size_t(j)]))
            left[size_t(j)] = Left::Kept;
    const auto stop = [&] {
        if (!progress.stopRequested()) return false;
        outcome.end = CommandEnd::Stopped;
        return true;
    };
    qint32 runEnd = 0;  // one past the last entry of the run of equal size that holds i
    std::unique_ptr<RunGroups> groups;
    for (qint32 i = 0; i < count - 1 && outcome.end == CommandEnd::Completed; ++i) {
        if (i >= runEnd) {
            runEnd = i + 1;
            bool anyTarget = !guard.keeps(rows[size_t(i)]);
            for (; runEnd < count && rows[size_t(runEnd)].size == rows[size_t(i)].size; ++runEnd)
                anyTarget = anyTarget || !guard.keeps(rows[size_t(runEnd)]);
            // A run without a target holds no pair to compare.
            groups.reset();
            if (runEnd - i > 1 && anyTarget)
                groups = std::make_unique<RunGroups>(rows, i, runEnd, fs, buffers, progress);
            if (groups && groups->stopped()) {
                outcome.end = CommandEnd::Stopped;
                break;
            }
        }
        if (stop()) break;
        if (groups && !rows[size_t(i)].removed()) {
            groups->forEachPartner(i, [&](qint32 j) {
                if (outcome.end != CommandEnd::Completed || asked[size_t(i)]) return;
                progress.BlinkStep();
                if (stop()) return;
                FileEntry& second = rows[size_t(j)];
                if (second.removed() || asked[size_t(j)]) return;
                if (guard.keeps(second)) return;
                PairResult r = FilComp(rows[size_t(i)], second, options, guard, DupCount, fs,
                                       &buffers, &tools);
                if (r.needsTrashAnswer) {
                    tools.deleteWithoutTrash =
                        box.show(noTrashQuestion(second.path()), Buttons::YesNo) == Answer::Yes;
                    r = FilComp(rows[size_t(i)], second, options, guard, DupCount, fs, &buffers,
                                &tools);
                }
                if (r.kept) left[size_t(j)] = Left::Kept;
                if (r.leftWithoutTrash) left[size_t(j)] = Left::Failed;
                if (r.status) return;
                // The question names the first file only when that one failed.
                const qint32 failed = r.failedPath == rows[size_t(i)].path() ? i : j;
                asked[size_t(failed)] = true;
                if (rows[size_t(failed)].kind == FileKind::Target &&
                    left[size_t(failed)] == Left::No)
                    left[size_t(failed)] = Left::Failed;
                if (box.show(failureQuestion(r.status.failure(), r.failedPath), Buttons::YesNo) ==
                    Answer::No)
                    outcome.end = CommandEnd::Aborted;
            });
        }
        if (outcome.end == CommandEnd::Completed) progress.count(progressCaption(i + 1, count));
    }

    outcome.done = DupCount;
    for (qint32 j = 0; j < count; ++j) {
        if (rows[size_t(j)].removed()) continue;
        if (left[size_t(j)] == Left::Failed) ++outcome.failed;
        if (left[size_t(j)] == Left::Kept) ++outcome.kept;
    }
    // A run cut short by the user is not saved, as after a No to a question.
    outcome.saveSettings = outcome.end == CommandEnd::Completed;
    outcome.message = closingMessage(outcome, options.chkDelete);
    return outcome;
}

}  // namespace quillo
