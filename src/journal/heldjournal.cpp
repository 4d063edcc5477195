#include "journal/heldjournal.h"

#include "journal/journalfiles.h"
#include "journal/journalformat.h"
#include "journal/journalreader.h"
#include "journal/journalsettle.h"

namespace quillo {

namespace {

// The bytes up to the end of the last whole line.
qint64 wholeLines(QByteArrayView bytes) {
    return bytes.lastIndexOf('\n') + 1;
}

}  // namespace

Result<std::unique_ptr<HeldJournal>> HeldJournal::open(FileSystem& fs, const QString& path) {
    Result<std::unique_ptr<RecordFile>> file = fs.openRecordFile(path);
    if (!file) return file.failure();
    return std::unique_ptr<HeldJournal>(new HeldJournal(fs, path, std::move(file.value())));
}

HeldJournal::HeldJournal(FileSystem& fs, QString path, std::unique_ptr<RecordFile> file)
    : m_fs(fs), m_path(std::move(path)), m_file(std::move(file)), m_keep(m_file->capacity()) {}

HeldJournal::~HeldJournal() {
    // Only what was written into is cut and written to the disk.
    if (m_changed) (void)m_file->close(m_keep);
}

QByteArrayView HeldJournal::bytes() const {
    return QByteArrayView(m_file->data(), m_file->capacity());
}

bool HeldJournal::unfinished() const {
    const QByteArrayView all = bytes();
    if (all.isEmpty()) return false;
    if (all.back() != '\n') return true;
    const QByteArrayView lines = all.chopped(1);
    const qsizetype start = lines.lastIndexOf('\n') + 1;
    const qsizetype tab = lines.lastIndexOf('\t');
    if (tab < start) return false;
    const std::optional<Outcome> outcome = outcomeFromText(lines.sliced(tab + 1));
    return outcome && outcome->state == JournalState::Pending;
}

Result<JournalRun*> HeldJournal::run() {
    if (!m_run) {
        Result<JournalRun> read = journalRun(m_path, bytes());
        if (!read) return read.failure();
        m_run = std::move(read.value());
    }
    return &*m_run;
}

std::vector<JournalRow> HeldJournal::settle() {
    Result<JournalRun*> read = run();
    if (!read) return {};
    JournalRun& r = *read.value();
    std::vector<bool> pending;
    for (const JournalRow& row : r.rows) pending.push_back(row.state == JournalState::Pending);
    quillo::settle(r, m_fs);
    std::vector<JournalRow> settled;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        const JournalRow& row = r.rows[i];
        if (!pending[i]) continue;
        if (row.outcomeAt >= 0 && row.outcomeAt + kOutcomeWidth <= m_file->capacity())
            writeOutcome(row.state, row.code, m_file->data() + row.outcomeAt);
        settled.push_back(row);
    }
    m_keep = wholeLines(bytes());
    m_changed = true;
    return settled;
}

Status HeldJournal::markUndone() {
    const Status marked = quillo::markUndone(m_fs, m_path);
    if (marked) {
        std::optional<JournalName> name = parseJournalName(fileNameOf(m_path));
        if (name && !name->undone) {
            name->undone = true;
            m_path = joinPath(parentFolder(m_path), journalFileName(*name));
        }
    }
    return marked;
}

}  // namespace quillo
