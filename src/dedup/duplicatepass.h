#pragma once
// 削除 carried out: the plan a search found, as the user left it, and the
// whole command in one go.

#include "collect/filetable.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "dedup/duplicateplan.h"
#include "dedup/findduplicates.h"
#include "dedup/removal.h"
#include "platform/filesystem.h"

namespace quillo {

// Removes each ticked duplicate of plan, group by group, as FilComp does:
// only while it and its kept file are as planned and still the same, byte for
// byte. What became of each is written into the plan. A failure is a Yes/No
// question (No stops); a drive without a trash is asked about once. The
// closing message counts what was removed and what was not, the search's
// failures and kept files included.
CommandOutcome removeDuplicates(const FileTable& table, DuplicatePlan& plan,
                                const DedupOptions& options, qint32& DupCount, Progress& progress,
                                MessageBox& box, FileSystem& fs, RemovalTools tools = {});

// cmdDelete_Click in one go: the search, then every duplicate it found.
CommandOutcome runDuplicateRemoval(const FileTable& table, const DedupOptions& options,
                                   qint32& DupCount, Progress& progress, MessageBox& box,
                                   FileSystem& fs, RemovalTools tools = {});

}  // namespace quillo
