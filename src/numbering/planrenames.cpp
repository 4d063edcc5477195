#include "numbering/planrenames.h"

#include "core/failure.h"
#include "core/format.h"
#include "core/paths.h"
#include "numbering/heldfolder.h"
#include "numbering/newpath.h"
#include "numbering/number.h"

namespace quillo {

namespace {

// Where the new names go: the move folder, held once, or each file's own.
struct Destination {
    Result<QString> prefix = QString();
    std::unique_ptr<FolderHandle> moveFolder;
};

Destination destination(const RenameRequest& request, FileSystem& fs) {
    Destination d;
    if (request.chkMove != CheckValue::On) return d;
    d.prefix = destinationPrefix(request.moveFolder);
    if (d.prefix) {
        Result<std::unique_ptr<FolderHandle>> held = fs.openFolder(request.moveFolder);
        if (held) d.moveFolder = std::move(held.value());
    }
    return d;
}

}  // namespace

RenameSearch planRenames(const RenameRequest& request, const FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs) {
    RenameSearch search;
    CommandOutcome& outcome = search.outcome;
    RenamePlan& plan = search.plan;
    if (table.FileCount() == 0) return search;
    progress.message(QStringLiteral("確認しています、しばらくお待ち下さい"));
    Destination to = destination(request, fs);
    plan.name = request.name;
    plan.firstNumber = request.number;
    plan.extension = extensionPart(request.extension, request.chkJpegJpg);
    if (to.prefix) plan.movePrefix = to.prefix.value();
    const ReferenceGuard guard(table);
    HeldFolder held(fs);
    QString number = request.number;
    const qint32 limit = table.FileCount();
    outcome.end = CommandEnd::Completed;
    for (qint32 i = 0; i < limit; ++i) {
        const FileEntry& e = table.entries[size_t(i)];
        progress.BlinkStep();
        if (progress.stopRequested()) {
            outcome.end = CommandEnd::Stopped;
            break;
        }
        progress.count(progressCaption(i + 1, limit));
        // References are listed to be compared against, never renamed.
        if (e.kind == FileKind::Refer) continue;
        const Result<FolderHandle*> folder = held.of(e.dir.text());
        if (guard.keeps(e) || (folder && keepsNow(e, *folder.value(), guard))) {
            ++plan.kept;
            continue;
        }
        RenameRow row;
        row.entry = i;
        const QString advanced = advanceNumber(number, request.DigitCount);
        row.number = plan.rows.empty() ? 0 : number.toUInt();
        plan.width = qint16(advanced.size());
        number = advanced;
        const size_t k = plan.rows.size();
        plan.rows.push_back(row);
        const Result<QString> path =
            !to.prefix
                ? Result<QString>(to.prefix.failure())
                : newPath(plan.movePrefix.isEmpty() ? QString() : plan.movePrefix, plan.newName(k));
        const Result<FileInfo> look = !folder ? Result<FileInfo>(folder.failure())
                                      : !path ? Result<FileInfo>(path.failure())
                                              : folder.value()->info(e.name);
        if (!look) {
            // Its number is used up, as by a rename that failed.
            RenameRow& failed = plan.rows.back();
            failed.ticked = false;
            failed.outcome = RowOutcome::Failed;
            failed.code = qint16(look.failure().code);
            ++plan.failed;
            if (box.show(failureQuestion(look.failure(), e.path()), Buttons::YesNo) !=
                Answer::Yes) {
                outcome.end = CommandEnd::Aborted;
                break;
            }
            continue;
        }
        RenameRow& r = plan.rows.back();
        r.state = look->state();
        const QString newName = plan.newName(k);
        r.named = plan.movePrefix.isEmpty() ? newName == e.name
                                            : plan.newPath(k, table.entries) == e.path();
        FolderHandle* into = plan.movePrefix.isEmpty() ? folder.value() : to.moveFolder.get();
        r.taken = !r.named && into && into->info(newName).ok();
    }
    plan.markClashes(table.entries);
    outcome.failed = plan.failed;
    outcome.kept = plan.kept;
    if (outcome.end != CommandEnd::Completed) {
        outcome.message = countedMessage(outcome, QStringLiteral("リネーム"));
        return search;
    }
    if (plan.empty()) {
        // Nothing to rename: the run ends as one that renamed nothing.
        outcome.saveSettings = true;
        outcome.clearList = true;
        outcome.message = outcome.kept == 0 ? QStringLiteral("0件、リネームしました")
                                            : countedMessage(outcome, QStringLiteral("リネーム"));
    }
    return search;
}

}  // namespace quillo
