#pragma once
// The journal folder: one file per run, named by the run's sequence number,
// which orders the runs whatever the clock says, then its start in UTC:
//
//   00000041-20240501-044512-345-remove.tsv
//   00000042-20240501-044513-002-number-00001.tsv     the first number given out
//   00000043-20240501-050000-120-undo.tsv
//   00000041-20240501-044512-345-remove-undone.tsv    taken back by an undo
//
// Names without a sequence, as earlier versions wrote them
// (20240501-044512-345-remove.tsv, "_2" after the kind for a second run in
// one millisecond), are read as runs before every numbered one. The first
// number is percent-encoded (UTF-8, every byte but ASCII letters and digits),
// so that it never holds the name's own separators.

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "core/result.h"
#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

struct JournalName {
    quint64 sequence = 0;  // 0: a name without one
    QDateTime start;       // UTC, to the millisecond
    JournalKind kind = JournalKind::Remove;
    QString firstNumber;  // numbering runs only
    int counter = 1;      // the how-manieth run that started in this millisecond
    bool undone = false;
};

QString journalFileName(const JournalName& name);

// Nothing for a name that journalFileName does not give.
std::optional<JournalName> parseJournalName(const QString& fileName);

// Where the program keeps its journals: Quillo/journal in the per-user data
// folder.
QString journalFolder();

struct JournalEntry {
    JournalName name;
    QString path;
};

// The folder of the journals, through the given file system.
class JournalFolder {
  public:
    JournalFolder(FileSystem& fs, QString path) : m_fs(&fs), m_path(std::move(path)) {}

    FileSystem& fs() const { return *m_fs; }
    const QString& path() const { return m_path; }

    // Creates the folder, readable by its owner only, and its missing parents.
    Status make() const;

    // The journals, newest run first; other files are left out.
    std::vector<JournalEntry> list() const;

    // Holds the folder against other processes, for numbering a new run or
    // choosing one to undo (creating the folder where missing).
    Result<std::unique_ptr<FileLock>> hold() const;

    // The sequence number of a new run: after every run in the folder.
    quint64 nextSequence() const;

    // Deletes all but the keep newest removal and numbering runs, and all but
    // the keep newest undos; the first failure.
    Status prune(int keep = 100) const;

  private:
    FileSystem* m_fs;
    QString m_path;
};

// Renames the journal at path to its undone name; a journal already undone
// stays.
Status markUndone(FileSystem& fs, const QString& path);

}  // namespace quillo
