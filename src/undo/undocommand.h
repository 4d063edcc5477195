#pragma once
// The undo command: takes back the last run of 削除 or 採番 that has not been
// taken back, from its journal.

#include <QString>
#include <memory>

#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "journal/heldjournal.h"
#include "journal/journalfiles.h"
#include "platform/filesystem.h"

namespace quillo {

class TrashCan;

// The newest removal or numbering run with a change not yet taken back, held
// so that no other process writes or undoes it meanwhile; its journal
// settled. Nothing when there is none; a failure (70) when the newest such
// run is held by another process, whose run or undo is under way.
Result<std::unique_ptr<HeldJournal>> lastUndoableRun(const JournalFolder& journals);

// Settles the journals of runs cut short (a killed process) and removes the
// trash records their unfinished moves left.
void recoverRuns(const JournalFolder& journals, TrashCan& trash);

// Asks "直前の処理（N件）を元に戻しますか？" ("直前の処理の残り（N件）…" when
// part of it was taken back before) and, on はい, moves each changed file
// back to its old path, newest change first: out of the trash (its record
// removed), out of the delete or move folder, or back to its old name. A file
// goes back only while it is still the one the journal names (device, inode,
// size, time stamp) and never over an existing file; the others, and files
// deleted for good, are counted as not back. The run stays on offer while a
// file that is still where the run put it could come back later; otherwise
// its journal is marked undone. A numbering run taken back whole gives its
// first number back to the number box.
CommandOutcome runUndo(const JournalFolder& journals, TrashCan& trash, Progress& progress,
                       MessageBox& box);

}  // namespace quillo
