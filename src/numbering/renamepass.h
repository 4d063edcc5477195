#pragma once
// 採番 carried out: the plan a search found, as the user left it, and the
// whole command in one go.

#include "collect/filetable.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "numbering/renameplan.h"
#include "numbering/renamerequest.h"
#include "platform/filesystem.h"

namespace quillo {

class RunJournal;

// Renames each ticked row of plan to its new path, in order, only while the
// file is as the search saw it, never over an existing file; each rename is
// written down in journal, when given, before it is made. The number box
// follows through Progress::number. A failure is a Yes/No question (No stops
// and nothing is saved); what became of each row is written into the plan.
CommandOutcome renameFiles(const FileTable& table, RenamePlan& plan, Progress& progress,
                           MessageBox& box, FileSystem& fs, RunJournal* journal = nullptr);

// cmdRename_Click in one go: the search, then every row it planned.
CommandOutcome runRename(const RenameRequest& request, const FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs, RunJournal* journal = nullptr);

}  // namespace quillo
