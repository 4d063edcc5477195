#include "dedup/filcomp.h"

#include "dedup/comparison.h"

namespace quillo {

PairResult FilComp(const FileEntry& first, const FileState& firstPlanned, const FileEntry& second,
                   const FileState& secondPlanned, const DedupOptions& options,
                   const ReferenceGuard& guard, qint32& DupCount, FolderCache& folders,
                   CompareBuffers& buffers, RemovalTools* tools) {
    const QString path1 = first.path(), path2 = second.path();
    PairResult result;
    const Result<CachedFolder> folder = folders.current(second.dir.text());
    if (!folder) {
        result.status = folder.failure();
        result.failedPath = path2;
        return result;
    }
    // The file that may go is named first in what goes wrong.
    const Result<CachedFolder> folder1 = folders.current(first.dir.text());
    if (!folder1) {
        result.status = folder1.failure();
        result.failedPath = path1;
        return result;
    }
    // A folder on the way may have been swapped for a reference folder (or a
    // link to one) since the collection: nothing in such a folder is touched.
    if (folder->holdsReferences) {
        result.kept = true;
        return result;
    }
    const Compared compared =
        compareFiles({*folder1->handle, first.name, path1}, {*folder->handle, second.name, path2},
                     secondPlanned.size, buffers);
    if (compared.verdict == Compared::Verdict::Failed) {
        result.status = compared.failure;
        result.failedPath = compared.failedPath;
        return result;
    }
    if (compared.verdict == Compared::Verdict::Different ||
        compared.first.state() != firstPlanned || compared.second.state() != secondPlanned) {
        result.changed = true;
        return result;
    }
    // A reference file stays, whatever path names it.
    if (guard.isReference(compared.second.id())) {
        result.kept = true;
        return result;
    }
    result.identical = true;
    JournalRow row;
    row.oldPath = path2;
    row.keptPath = path1;
    row.before = compared.second;
    const Removed removed = removeDuplicate(*folder->handle, second.name, row, options, tools);
    result.how = removed.how;
    if (removed.how == Removal::Failed) {
        result.status = removed.status;
        result.failedPath = path2;
    }
    if (removed.how == Removal::Moved || removed.how == Removal::Trashed ||
        removed.how == Removal::DeletedForGood)
        ++DupCount;
    return result;
}

}  // namespace quillo
