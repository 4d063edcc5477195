#pragma once
// Writes the journal of one run. The file is plain UTF-8 TSV that a person
// can read and a spreadsheet can open: the header line
//
//   time  operation  old path  new path  kept file  size  device  inode  mtime ns  outcome
//
// (tab-separated), then one line per file operation:
//   time       local ISO 8601 with milliseconds and offset, 2024-05-01T13:45:12.345+09:00
//   operation  trash, delete, move, rename or restore
//   old path   the file's path before
//   new path   where it went: inside the trash's files/ folder, in the delete or
//              move folder, or its new name; empty for a delete for good
//   kept file  for a duplicate, the kept file it was identical to; else empty
//   size, device, inode, mtime ns   the file before the operation, in decimal
//   outcome    pending, done or failed <code> (failure.h), padded with blanks
//
// Paths are the bytes encodeName gives, escaped as journalescape.h says. The
// run's kind and, for a numbering run, its first number are in the file's
// name (journalfiles.h).
//
// A row is stored before its operation starts, pending, and its outcome is
// written over the padded field when it has ended. The file is a shared
// mapping, so each store is in the kernel at once and outlasts a killed
// process; such a process leaves NULs after the last row, which the reader
// skips. A thread writes the file to the disk about once a second while
// anything changed, and finish() does at the end: a power cut loses at most
// the rows of the last second or so.

#include <QString>
#include <memory>

#include "core/result.h"
#include "journal/journal.h"
#include "journal/journalfiles.h"
#include "journal/journaltime.h"

namespace quillo {

class PeriodicSync;
class RecordFile;

class JournalWriter {
  public:
    // What begin() gives for a row that could not be stored; end() ignores it.
    static constexpr qint64 kNoRow = -1;

    // Creates the journal of a new run in folder, creating the folder if
    // missing, numbered after every run there; it stays locked against other
    // processes until finished.
    static Result<std::unique_ptr<JournalWriter>> open(const JournalFolder& folder,
                                                       JournalKind kind,
                                                       const QString& firstNumber = {});

    ~JournalWriter();  // finish(), its outcome unseen
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Stores row as pending, stamped with row.timeMs or, when that is 0, now;
    // row.state is not read. The handle for end(), or kNoRow when the journal
    // has failed (status() says why): the operation should not go ahead then.
    [[nodiscard]] qint64 begin(const JournalRow& row);

    // Records how the operation of handle ended: done, or failed with its code.
    void end(qint64 handle, const Status& outcome);

    // Cuts the file after its last row, writes it to the disk and closes it;
    // the first failure since open(). Later calls return the same.
    Status finish();

    // The first failure to store a row so far; a failed sync shows in finish().
    Status status() const { return m_status; }

    QString path() const { return m_path; }

  private:
    JournalWriter(QString path, std::unique_ptr<RecordFile> file);

    QString m_path;
    std::unique_ptr<RecordFile> m_file;
    std::unique_ptr<PeriodicSync> m_sync;
    LocalTimeText m_time;
    qint64 m_used = 0;  // bytes of rows, header included
    Status m_status;
    bool m_open = true;
};

}  // namespace quillo
