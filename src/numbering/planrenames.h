#pragma once
// The first half of 採番: each target's new name in numbering order, looked
// at on disk, nothing renamed.

#include "collect/filetable.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "numbering/renameplan.h"
#include "numbering/renamerequest.h"
#include "platform/filesystem.h"

namespace quillo {

struct RenameSearch {
    // Completed with a plan to review, or, when no target is left to
    // rename, the closing outcome of a run that renamed nothing; or stopped.
    CommandOutcome outcome;
    RenamePlan plan;
};

// Gives each target, in table order, the next number, and looks at the file
// and at its new path: which file it is, whether it has its new name
// already, and which new names are taken when their turn comes. A target
// that cannot be looked at is a Yes/No question (No stops) and keeps its
// number, as a failed rename does.
RenameSearch planRenames(const RenameRequest& request, const FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs);

}  // namespace quillo
