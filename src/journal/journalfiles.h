#pragma once
// The journal folder: one file per run, named so that the names sort by the
// run's start (UTC, so that a clock change at the end of summer time cannot
// reorder them):
//
//   20240501-044512-345-remove.tsv
//   20240501-044513-002-number-00001.tsv     the first number given out
//   20240501-044513-002-number-00001_2.tsv   a second run in the same millisecond
//   20240501-050000-120-undo.tsv
//   20240501-044512-345-remove-undone.tsv    taken back by an undo
//
// The first number is percent-encoded (UTF-8, every byte but ASCII letters
// and digits), so that it never holds the name's own separators.

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "core/result.h"
#include "journal/journal.h"

namespace quillo {

struct JournalName {
    QDateTime start;  // UTC, to the millisecond
    JournalKind kind = JournalKind::Remove;
    QString firstNumber;  // numbering runs only
    int counter = 1;      // the how-manieth run that started in this millisecond
    bool undone = false;
};

QString journalFileName(const JournalName& name);

// Nothing for a name that journalFileName does not give.
std::optional<JournalName> parseJournalName(const QString& fileName);

// Where the program keeps its journals: the per-user application data folder
// followed by "journal".
QString journalFolder();

// Creates folder, readable by its owner only, and its missing parents.
Status makeJournalFolder(const QString& folder);

// The journals in folder, newest first; other files are left out.
std::vector<QString> journalFiles(const QString& folder);

// Deletes every journal but the keep newest ones; the first failure.
Status pruneJournals(const QString& folder, int keep = 100);

// Renames a journal to its undone name; a journal already undone stays.
Status markUndone(const QString& path);

}  // namespace quillo
