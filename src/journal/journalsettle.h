#pragma once
// Deciding the rows a run left pending, by looking at the disk.

#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

// Each pending row becomes done when the file it names (by device and inode)
// is at its new path, or for a delete, when that file (by device and inode,
// size and modification time) is no longer at its old path; failed
// otherwise, with code 0: the cause is not known. Only looks; neither the
// files nor the journal change.
void settle(JournalRun& run, FileSystem& fs);

}  // namespace quillo
