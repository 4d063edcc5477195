#pragma once
// Reading a journal back. The reader never fails on what a file holds: a
// truncated, hand-edited or damaged journal gives the rows that can be read,
// and it never touches any file but the journal.

#include <QByteArrayView>
#include <QString>
#include <vector>

#include "core/result.h"
#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

// The rows of a journal's bytes. A line counts once its LF is there, so a
// file cut anywhere gives the rows before the cut; lines that are no rows
// (the header, junk, the NULs a killed writer leaves) are skipped.
std::vector<JournalRow> parseJournalRows(QByteArrayView bytes);

// The run of the journal at path holding bytes: its sequence, kind, first
// number and undone mark from the name, its rows from the bytes. Fails only
// when the name is no journal's (52).
Result<JournalRun> journalRun(const QString& path, QByteArrayView bytes);

// The run of a journal file; fails also when the file cannot be read.
Result<JournalRun> readJournal(FileSystem& fs, const QString& path);

}  // namespace quillo
