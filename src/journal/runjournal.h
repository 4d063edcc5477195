#pragma once
// The journal of one command run, opened when the run first changes a file:
// a run that changes nothing leaves no journal behind.

#include <QString>
#include <memory>

#include "core/result.h"
#include "journal/journal.h"
#include "journal/journalfiles.h"

namespace quillo {

class JournalWriter;

class RunJournal {
  public:
    // folder: where the journals are kept.
    RunJournal(JournalFolder folder, JournalKind kind, QString firstNumber = {});
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // Writes row down, pending, before its operation starts. A failure means
    // the operation must not go ahead: it could not be taken back. It names
    // the journal (or its folder), not the file of the operation.
    Result<qint64> begin(const JournalRow& row);
    // How the operation of entry ended.
    void end(qint64 entry, const Status& outcome);
    // Writes the journal to the disk and closes it; older journals beyond
    // the ones kept are pruned.
    Status finish();

  private:
    JournalFolder m_folder;
    JournalKind m_kind;
    QString m_firstNumber;
    std::unique_ptr<JournalWriter> m_writer;
    Status m_failed;  // the journal could not be opened: nothing goes ahead
};

}  // namespace quillo

namespace quillo {

// Does act, written down in journal (when there is one) before it starts and
// its outcome after. Nothing is done when the journal cannot take the row.
template <class Act>
Status recorded(RunJournal* journal, const JournalRow& row, Act act) {
    if (!journal) return act();
    const Result<qint64> entry = journal->begin(row);
    if (!entry) return entry.failure();
    const Status outcome = act();
    journal->end(entry.value(), outcome);
    return outcome;
}

}  // namespace quillo
