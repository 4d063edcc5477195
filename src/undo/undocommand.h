#pragma once
// The undo command: takes back the last run of 削除 or 採番 that has not been
// taken back, from its journal.

#include <QString>

#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

// The newest journal in folder of a removal or numbering run that is not
// undone and changed at least one file, its pending rows settled; nothing
// when there is none.
std::optional<JournalRun> lastUndoableRun(const QString& folder, FileSystem& fs);

// Asks "直前の処理（N件）を元に戻しますか？" and, on はい, moves each changed
// file back to its old path, newest change first: out of the trash (its
// record removed), out of the delete or move folder, or back to its old name.
// A file goes back only while it is still the one the journal names (device,
// inode, size, time stamp) and never over an existing file; the others, and
// files deleted for good, are counted as not back. The run's journal is
// marked undone when the undo ran to its end. A numbering run taken back
// whole gives its first number back to the number box.
CommandOutcome runUndo(const QString& folder, Progress& progress, MessageBox& box, FileSystem& fs);

}  // namespace quillo
