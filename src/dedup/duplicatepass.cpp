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
    ComparisonMemo memo;
    const qint32 count = table.FileCount;
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
            if (table.FileName[y].isEmpty() || table.FileKind[y] == kKindRefer) continue;
            const Status s =
                FilComp(table.FileDir[x], table.FileName[x], table.FileDir[y], table.FileName[y],
                        table.FileSize[y], options, DupCount, fs, &memo);
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
