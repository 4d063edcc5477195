#include "journal/runjournal.h"

#include "journal/journalfiles.h"
#include "journal/journalwriter.h"

namespace quillo {

RunJournal::RunJournal(JournalFolder folder, JournalKind kind, QString firstNumber)
    : m_folder(std::move(folder)), m_kind(kind), m_firstNumber(std::move(firstNumber)) {}

RunJournal::~RunJournal() {
    (void)finish();
}

Result<qint64> RunJournal::begin(const JournalRow& row) {
    if (!m_failed) return m_failed.failure();
    if (!m_writer) {
        Result<std::unique_ptr<JournalWriter>> opened =
            JournalWriter::open(m_folder, m_kind, m_firstNumber);
        if (!opened) {
            m_failed = concerning(opened.failure(), m_folder.path());
            return m_failed.failure();
        }
        m_writer = std::move(opened.value());
    }
    const qint64 entry = m_writer->begin(row);
    if (entry == JournalWriter::kNoRow)
        return concerning(m_writer->status().failure(), m_writer->path());
    return entry;
}

void RunJournal::end(qint64 entry, const Status& outcome) {
    if (m_writer) m_writer->end(entry, outcome);
}

Status RunJournal::finish() {
    if (!m_writer) return m_failed;
    const Status written = m_writer->finish();
    m_writer.reset();
    // Pruning is housekeeping: a journal that cannot be pruned stays.
    (void)m_folder.prune();
    return written;
}

}  // namespace quillo
