#include "numbering/renamepass.h"

#include "numbering/newpath.h"
#include "numbering/number.h"
#include "platform/failure.h"
#include "platform/format.h"

namespace quillo {

namespace {

// The Yes/No question for a failed rename of oldPath.
QString failureQuestion(const QString& oldPath, const Failure& failure) {
    QString text;
    if (failure.code == code::FileExists)
        text = oldPath + QStringLiteral(" ファイルが重複しています");
    else if (failure.code == code::FileNotFound)
        text = oldPath + QStringLiteral(" が見つかりません");
    else
        text = QString::number(failure.code) + failure.description;
    return text + QLatin1Char('\r') + QStringLiteral("処理を続けますか？");
}

// Renames entry i to its new name; the move prefix is a failure when the
// move folder setting is unusable, so that every target asks.
Status renameEntry(const FileTable& table, qint32 i, const Result<QString>& folderPart,
                   const QString& fileName, FileSystem& fs) {
    if (!folderPart) return folderPart.failure();
    const Result<QString> to = newPath(folderPart.value(), fileName);
    if (!to) return to.failure();
    return fs.rename(table.path(i), to.value());
}

}  // namespace

void runRename(const RenameRequest& request, FileTable& table, Progress& progress, MessageBox& box,
               FileSystem& fs) {
    if (table.FileCount == 0) return;

    progress.setEnabled(CommandButton::Rename, false);
    progress.message(QStringLiteral("リネームしています、しばらくお待ち下さい"));

    const bool move = request.chkMove == 1;
    const Result<QString> prefix =
        move ? destinationPrefix(request.moveFolder) : Result<QString>(QString());
    const qint32 limit = table.FileCount;
    const QString extension = extensionPart(request.extension, request.chkJpegJpg);
    QString number = request.number;

    for (qint32 i = 1; i <= limit; ++i) {
        const auto slot = size_t(i);
        progress.BlinkStep();
        if (table.FileKind[slot] != kKindRefer) {
            const Result<QString> folderPart = move ? prefix : Result<QString>(table.FileDir[slot]);
            const Status renamed =
                renameEntry(table, i, folderPart, request.name + number + extension, fs);
            if (!renamed && box.show(failureQuestion(table.path(i), renamed.failure()),
                                     Buttons::YesNo) != Answer::Yes) {
                progress.cmdClear_Click();
                progress.messageBlack();
                progress.message(QStringLiteral("強制終了しました"));
                progress.setEnabled(CommandButton::Rename, true);
                return;
            }
            // A failed rename that the user continued still uses its number up.
            number = advanceNumber(number, request.DigitCount);
            progress.number(number);
        }
        progress.count(progressCaption(i, limit));
    }

    progress.SaveSettings();
    progress.cmdClear_Click();
    progress.messageBlack();
    progress.message(QStringLiteral("リネームしました"));
    progress.setEnabled(CommandButton::Rename, true);
}

}  // namespace quillo
