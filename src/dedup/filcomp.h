#pragma once
// FilComp: one planned duplicate carried out. The pair is compared byte for
// byte once more, just before the removal (the second read is usually from
// memory), and only while both files are as the plan saw them.

#include "collect/filetable.h"
#include "core/filestate.h"
#include "dedup/comparebuffers.h"
#include "dedup/foldercache.h"
#include "dedup/removal.h"

namespace quillo {

struct PairResult {
    Removal how = Removal::Failed;  // when nothing else below is set
    Status status;                  // of a failure
    QString failedPath;             // the file whose look, open, read or removal failed
    bool identical = false;         // compared the same and as planned (whatever the removal did)
    bool changed = false;           // either file changed since the plan: nothing done
    bool kept = false;              // second is a reference file under its path: left alone
};

// Removes second, a duplicate of first, as options and tools say. DupCount is
// raised when it left. A second file that the guard knows as a reference, or
// one in a folder a reference collection walked, is never removed. Folders
// are held by the pass's cache, which knows the same guard.
PairResult FilComp(const FileEntry& first, const FileState& firstPlanned, const FileEntry& second,
                   const FileState& secondPlanned, const DedupOptions& options,
                   const ReferenceGuard& guard, qint32& DupCount, FolderCache& folders,
                   CompareBuffers& buffers, RemovalTools* tools);

}  // namespace quillo
