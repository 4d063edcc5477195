#include "collect/collectcommand.h"

#include "collect/namesort.h"
#include "collect/overlap.h"
#include "collect/scan.h"
#include "core/format.h"

namespace quillo {

CommandOutcome runCollect(const CollectRequest& request, FileTable& table, Progress& progress,
                          MessageBox& box, FileSystem& fs) {
    CommandOutcome outcome;
    if (foldersOverlap(request.referFolder, request.selectFolder, fs)) {
        box.show(QStringLiteral("参照・抽出フォルダーが同一、又は親子です"), Buttons::Ok);
        return outcome;
    }
    ScanRequest scan;
    scan.folder = request.reference ? request.referFolder : request.selectFolder;
    scan.kind = request.reference ? FileKind::Refer : FileKind::Target;
    scan.subfolderSwitch = request.subfolderSwitch;
    scan.extension = request.extension;
    if (!request.reference) scan.avoid = table.referFolders;
    scan.countBefore = table.FileCount();

    progress.message(QStringLiteral("抽出しています、しばらくお待ち下さい"));
    // The files found are added after the table's rows, sorted apart and merged
    // in; a stop cuts them off again, leaving the list exactly as it was.
    const size_t before = table.entries.size();
    ScanResult found = ScanFolder(scan, progress, fs, std::move(table.entries));
    table.entries = std::move(found.entries);
    progress.message(QStringLiteral("並び替えています、しばらくお待ち下さい"));
    const bool stopped =
        found.stopped || !FileSort(std::span(table.entries).subspan(before), progress);
    const auto tableCount = [&] {
        return table.FileCount() == 0 ? QString() : countCaption(table.FileCount());
    };
    if (stopped) {
        table.entries.resize(before);
        table.entries.shrink_to_fit();
        outcome.end = CommandEnd::Stopped;
        outcome.message = QStringLiteral("抽出を中止しました");
        outcome.count = tableCount();
        return outcome;
    }
    if (request.reference) table.referFolders.merge(found.walked);
    const qint32 added = qint32(table.entries.size() - before);
    mergeSorted(table.entries, before);

    outcome.end = CommandEnd::Completed;
    outcome.showList = true;
    outcome.done = added;
    outcome.skipped = found.skipped;
    outcome.enableButton = added == 0;
    if (added == 0) {
        outcome.message = request.reference ? QStringLiteral("参照データは有りませんでした")
                                            : QStringLiteral("抽出データは有りませんでした");
    } else if (scan.countBefore == 0) {
        outcome.message = QString::number(added) + QStringLiteral("件、抽出しました");
    } else {
        outcome.message = QString::number(added) + QStringLiteral("件、追加しました");
    }
    outcome.count = tableCount();
    return outcome;
}

}  // namespace quillo
