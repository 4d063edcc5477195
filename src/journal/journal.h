#pragma once
// The change journal: every 削除 or 採番 run that changes files, and every undo,
// writes one journal, so that after a crash anybody can tell what was done and
// an undo can take the run back. The file itself is described in
// journalwriter.h.

#include <QString>
#include <vector>

#include "platform/filesystem.h"

namespace quillo {

enum class JournalKind { Remove, Number, Undo };

enum class JournalOp {
    Trash,    // moved into the trash's files/ folder
    Delete,   // deleted for good: no new path
    Move,     // moved into the delete or move folder
    Rename,   // given its new name
    Restore,  // brought back by an undo
};

enum class JournalState { Pending, Done, Failed };

// One file operation.
struct JournalRow {
    qint64 timeMs = 0;  // when it started, ms since the epoch; 0 to the writer: now
    JournalOp op = JournalOp::Rename;
    QString oldPath;   // where the file was
    QString newPath;   // where it went; empty for a delete
    QString keptPath;  // for a duplicate: the kept file it was identical to
    FileInfo before;   // size, device, inode and mtimeNs before the operation
    JournalState state = JournalState::Pending;
    int code = 0;           // the failure code of a Failed row
    qint64 outcomeAt = -1;  // read back: where its outcome field starts in the file
};

// One journal as read back.
struct JournalRun {
    QString path;
    quint64 sequence = 0;  // the run's place among all runs
    JournalKind kind = JournalKind::Remove;
    QString firstNumber;  // numbering runs: the first number given out
    bool undone = false;  // an undo has taken the run back
    std::vector<JournalRow> rows;
};

}  // namespace quillo
