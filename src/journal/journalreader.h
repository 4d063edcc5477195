#pragma once
// Reading a journal back. The reader never fails on what a file holds: a
// truncated, hand-edited or damaged journal gives the rows that can be read,
// and it never touches any file but the journal.

#include <QByteArrayView>
#include <QString>
#include <vector>

#include "core/result.h"
#include "journal/journal.h"

namespace quillo {

// The rows of a journal's bytes. A line counts once its LF is there, so a
// file cut anywhere gives the rows before the cut; lines that are no rows
// (the header, junk, the NULs a killed writer leaves) are skipped.
std::vector<JournalRow> parseJournalRows(QByteArrayView bytes);

// The run of a journal file: its kind, first number and undone mark from the
// name, its rows from the contents. Fails only when the name is no journal's
// (52) or the file cannot be read.
Result<JournalRun> readJournal(const QString& path);

}  // namespace quillo
