#include "collect/collectcommand.h"

#include "collect/namesort.h"
#include "collect/scan.h"
#include "platform/format.h"

namespace quillo {

namespace {

// A plain text test: an empty text begins every text, and D:/Pics begins D:/Pics2.
bool foldersOverlap(const QString& r, const QString& s) {
    if (r.isEmpty() || s.isEmpty()) return true;
    return s.startsWith(r, Qt::CaseSensitive) || r.startsWith(s, Qt::CaseSensitive);
}

}  // namespace

void runCollect(const CollectRequest& request, FileTable& table, Progress& progress,
                MessageBox& box, FileSystem& fs) {
    if (foldersOverlap(request.referFolder, request.selectFolder)) {
        box.show(QStringLiteral("参照・抽出フォルダーが同一、又は親子です"), Buttons::Ok);
        return;
    }
    const CommandButton own = request.reference ? CommandButton::Refer : CommandButton::Select;
    const QString& folder = request.reference ? request.referFolder : request.selectFolder;
    const QString& kind = request.reference ? kKindRefer : kKindTarget;

    progress.setEnabled(own, false);
    progress.message(QStringLiteral("抽出しています、しばらくお待ち下さい"));
    const qint32 before = table.FileCount;
    ScanStats stats;
    ScanFolder(table, folder, kind, request.subfolderSwitch, request.extension, progress, fs,
               stats);

    progress.message(QStringLiteral("並び替えています、しばらくお待ち下さい"));
    FileSort(table.FileDir, table.FileName, table.FileSize, table.FileKind, table.FileCount,
             progress);
    progress.ShowBusy();
    progress.messageBlack();

    const qint32 added = table.FileCount - before;
    if (added == 0) {
        progress.message(request.reference ? QStringLiteral("参照データは有りませんでした")
                                           : QStringLiteral("抽出データは有りませんでした"));
        progress.setEnabled(own, true);
    } else if (before == 0) {
        progress.message(QString::number(added) + QStringLiteral("件、抽出しました"));
    } else {
        progress.message(QString::number(added) + QStringLiteral("件、追加しました"));
    }
    progress.count(table.FileCount == 0 ? QString() : countCaption(table.FileCount));

    if (stats.skipped > 0) {
        box.show(QStringLiteral("読み込めなかったファイル・フォルダーが") +
                     QString::number(stats.skipped) + QStringLiteral("件有りました"),
                 Buttons::Ok);
    }
}

}  // namespace quillo
