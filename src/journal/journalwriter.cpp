#include "journal/journalwriter.h"

#include <QDateTime>
#include <cstring>

#include "core/failure.h"
#include "core/paths.h"
#include "journal/journalfiles.h"
#include "journal/journalformat.h"
#include "journal/journalrow.h"
#include "journal/periodicsync.h"
#include "platform/recordfile.h"

namespace quillo {

namespace {

// Runs that start in one millisecond; far more than one machine can start.
constexpr int kMaxCounter = 1000;

Result<std::unique_ptr<RecordFile>> createJournalFile(const JournalFolder& folder, JournalName name,
                                                      QString* path) {
    for (name.counter = 1;; ++name.counter) {
        *path = joinPath(folder.path(), journalFileName(name));
        Result<std::unique_ptr<RecordFile>> file = folder.fs().createRecordFile(*path);
        if (file || file.failure().code != code::FileExists || name.counter == kMaxCounter)
            return file;
    }
}

// A run's journal: numbered and created while no other process numbers a run
// or chooses one to undo, and locked before the folder is let go.
Result<std::unique_ptr<RecordFile>> createRunFile(const JournalFolder& folder, JournalKind kind,
                                                  const QString& firstNumber, QString* path) {
    Result<std::unique_ptr<FileLock>> held = folder.hold();
    if (!held) return held.failure();
    const JournalName name{folder.nextSequence(), QDateTime::currentDateTimeUtc(), kind,
                           firstNumber};
    return createJournalFile(folder, name, path);
}

}  // namespace

Result<std::unique_ptr<JournalWriter>> JournalWriter::open(const JournalFolder& folder,
                                                           JournalKind kind,
                                                           const QString& firstNumber) {
    QString path;
    Result<std::unique_ptr<RecordFile>> file = createRunFile(folder, kind, firstNumber, &path);
    if (!file) return file.failure();
    if (const Status room = file.value()->reserve(kJournalHeader.size()); !room) {
        static_cast<void>(file.value()->close(0));
        static_cast<void>(folder.fs().remove(path));
        return room.failure();
    }
    std::memcpy(file.value()->data(), kJournalHeader.data(), size_t(kJournalHeader.size()));
    std::unique_ptr<JournalWriter> writer(new JournalWriter(path, std::move(file.value())));
    writer->m_used = kJournalHeader.size();
    writer->m_sync->changed();
    return writer;
}

JournalWriter::JournalWriter(QString path, std::unique_ptr<RecordFile> file)
    : m_path(std::move(path)),
      m_file(std::move(file)),
      m_sync(std::make_unique<PeriodicSync>(*m_file)) {}

JournalWriter::~JournalWriter() {
    static_cast<void>(finish());
}

qint64 JournalWriter::begin(const JournalRow& row) {
    if (!m_open || !m_status) return kNoRow;
    const RowPaths paths = encodeRowPaths(row);
    if (const Status room = m_file->reserve(m_used + maxRowBytes(paths)); !room) {
        m_status = room;
        return kNoRow;
    }
    const qint64 timeMs = row.timeMs != 0 ? row.timeMs : QDateTime::currentMSecsSinceEpoch();
    char* const start = m_file->data() + m_used;
    qsizetype outcomeAt = 0;
    char* const end = writeRow(row, timeMs, paths, m_time, start, &outcomeAt);
    const qint64 handle = m_used + outcomeAt;
    // Written pending whatever row.state says: the operation has not started.
    writeOutcome(JournalState::Pending, 0, start + outcomeAt);
    m_used += end - start;
    m_sync->changed();
    return handle;
}

void JournalWriter::end(qint64 handle, const Status& outcome) {
    if (!m_open || handle < kJournalHeader.size() || handle + kOutcomeWidth >= m_used) return;
    if (outcome)
        writeOutcome(JournalState::Done, 0, m_file->data() + handle);
    else
        writeOutcome(JournalState::Failed, outcome.failure().code, m_file->data() + handle);
    m_sync->changed();
}

Status JournalWriter::finish() {
    if (!m_open) return m_status;
    m_open = false;
    const Status synced = m_sync->stop();
    const Status closed = m_file->close(m_used);
    if (m_status && !synced) m_status = synced;
    if (m_status && !closed) m_status = closed;
    return m_status;
}

}  // namespace quillo
