#include "dedup/duplicatepass.h"

#include "dedup/comparisonmemo.h"
#include "dedup/sizesort.h"
#include "platform/failure.h"
#include "platform/format.h"

namespace quillo {

namespace {

const QString kGoOn = QStringLiteral("\r処理を続けますか？");

// The question for a failed pair; the path is always that of entry i.
QString failureQuestion(const Failure& failure, const QString& pathOfI) {
    switch (failure.code) {
        case code::FileExists:
            return pathOfI + QStringLiteral(" ファイルが重複しています") + kGoOn;
        case code::FileNotFound:
            return pathOfI + QStringLiteral(" が見つかりません") + kGoOn;
        default:
            return QString::number(failure.code) + failure.description + kGoOn;
    }
}

QString closingMessage(qint32 dupCount, int chkDelete) {
    if (dupCount == 0) return QStringLiteral("重複ファイルは有りませんでした");
    // FilComp moves only when the box is checked, so anything else (the greyed
    // value included) deleted the files and is reported as deleting.
    return QString::number(dupCount) + (chkDelete == 1 ? QStringLiteral("件、移動しました")
                                                       : QStringLiteral("件、削除しました"));
}

}  // namespace

void runDuplicateRemoval(FileTable& table, const DedupOptions& options, qint32& DupCount,
                         Progress& progress, MessageBox& box, FileSystem& fs) {
    if (table.FileCount < 2) return;
    progress.setEnabled(CommandButton::Delete, false);
    progress.message(QStringLiteral("並び替えています、しばらくお待ち下さい"));
    SizeSort(table.FileDir, table.FileName, table.FileSize, table.FileKind, table.FileCount,
             progress);
    progress.message(QStringLiteral("解析しています、しばらくお待ち下さい"));

    DupCount = 0;
    const qint32 count = table.FileCount;
    ComparisonMemo memo;
    std::vector<int> memoId(size_t(count) + 1, -1);  // entry -> what the memo knows of it
    // Kinds do not change during the pass: compare the labels once, not per pair.
    std::vector<char> refer(size_t(count) + 1, 0);
    for (qint32 k = 1; k <= count; ++k) refer[size_t(k)] = table.FileKind[size_t(k)] == kKindRefer;
    qint32 runEnd = 0;  // last entry of the run of equal size that holds entry i
    for (qint32 i = 1; i <= count - 1; ++i) {
        const auto x = size_t(i);
        if (i > runEnd) {
            runEnd = i;
            while (runEnd < count && table.FileSize[size_t(runEnd) + 1] == table.FileSize[x])
                ++runEnd;
            // In a run of two there is one pair: a digest could never be used.
            memo.setDigesting(runEnd - i + 1 > 2);
        }
        for (qint32 j = i + 1; j <= count; ++j) {
            const auto y = size_t(j);
            progress.BlinkStep();
            if (table.FileSize[x] != table.FileSize[y]) break;
            if (table.FileName[x].isEmpty()) break;
            if (table.FileName[y].isEmpty() || refer[y]) continue;
            // FilComp would find the same proof by path; by index it costs nothing.
            if (memo.provesDifferent(memoId[x], memoId[y], table.FileSize[y])) continue;
            const Status s =
                FilComp(table.FileDir[x], table.FileName[x], table.FileDir[y], table.FileName[y],
                        table.FileSize[y], options, DupCount, fs, &memo);
            if (memo.digesting()) {
                if (memoId[x] < 0) memoId[x] = memo.idOf(table.path(i));
                if (memoId[y] < 0 && !table.FileName[y].isEmpty())
                    memoId[y] = memo.idOf(table.path(j));
            }
            if (s) continue;
            if (box.show(failureQuestion(s.failure(), table.path(i)), Buttons::YesNo) ==
                Answer::No) {
                progress.cmdClear_Click();
                progress.messageBlack();
                progress.message(QStringLiteral("強制終了しました"));
                progress.setEnabled(CommandButton::Delete, true);
                return;
            }
        }
        progress.count(progressCaption(i, count));
    }

    progress.SaveSettings();
    progress.cmdClear_Click();
    progress.messageBlack();
    progress.message(closingMessage(DupCount, options.chkDelete));
    progress.setEnabled(CommandButton::Delete, true);
}

}  // namespace quillo
