#pragma once
// One row of a journal as bytes, both ways.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "journal/journal.h"
#include "journal/journaltime.h"

namespace quillo {

// A row's paths as the kernel names them (encodeName).
struct RowPaths {
    QByteArray oldPath, newPath, keptPath;
};

RowPaths encodeRowPaths(const JournalRow& row);

// The most bytes writeRow writes for these paths.
qsizetype maxRowBytes(const RowPaths& paths);

// Writes row, stamped timeMs, as one line with its LF at out and returns the
// end; *outcomeAt is set to the outcome field's distance from out.
char* writeRow(const JournalRow& row, qint64 timeMs, const RowPaths& paths, LocalTimeText& time,
               char* out, qsizetype* outcomeAt);

// The row of a line without its LF (a CR before it is ignored); nothing for
// a line that is no row. An outcome that cannot be read is pending: the
// operation may or may not have happened. A path that is not absolute or
// holds "." or ".." makes no row: an edited line must not lead anywhere its
// run never went. outcomeAt is the outcome field's distance from the line's
// start where it can be written over in place, else -1.
std::optional<JournalRow> parseRow(QByteArrayView line);

}  // namespace quillo
