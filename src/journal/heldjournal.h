#pragma once
// A journal of an earlier run, opened and locked: while it is held, no other
// process writes it, settles it or takes its run back.

#include <QString>
#include <memory>
#include <vector>

#include "core/result.h"
#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

class HeldJournal {
  public:
    // 70 at once while another process holds it: its run, or an undo of it,
    // is under way there.
    static Result<std::unique_ptr<HeldJournal>> open(FileSystem& fs, const QString& path);
    ~HeldJournal();
    HeldJournal(const HeldJournal&) = delete;
    HeldJournal& operator=(const HeldJournal&) = delete;

    const QString& path() const { return m_path; }

    // Whether its writer never finished it: a killed writer leaves NULs
    // after its last row, or that row still pending.
    bool unfinished() const;

    // The run, read on first use (52 for a name that is no journal's).
    Result<JournalRun*> run();

    // Decides each pending row from the disk and writes the decision into
    // the file, and cuts what a killed writer left after the last row: the
    // rows that were pending.
    std::vector<JournalRow> settle();

    // Renames the journal to its undone name.
    Status markUndone();

  private:
    HeldJournal(FileSystem& fs, QString path, std::unique_ptr<RecordFile> file);
    QByteArrayView bytes() const;

    FileSystem& m_fs;
    QString m_path;
    std::unique_ptr<RecordFile> m_file;
    std::optional<JournalRun> m_run;
    qint64 m_keep;           // bytes kept when closed
    bool m_changed = false;  // settled: written into
};

}  // namespace quillo
