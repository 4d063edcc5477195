#include "journal/journalreader.h"

#include "core/failure.h"
#include "core/paths.h"
#include "journal/journalfiles.h"
#include "journal/journalrow.h"

namespace quillo {

namespace {

constexpr QByteArrayView kUtf8Mark = "\xEF\xBB\xBF";
constexpr qint64 kChunk = 1 << 20;

Result<QByteArray> readAll(FileSystem& fs, const QString& path) {
    Result<std::unique_ptr<InputFile>> file = fs.openRead(path);
    if (!file) return file.failure();
    QByteArray bytes;
    for (;;) {
        const qsizetype have = bytes.size();
        bytes.resize(have + kChunk);
        const Result<qint64> got = file.value()->read(bytes.data() + have, kChunk);
        if (!got) return got.failure();
        bytes.truncate(have + got.value());
        if (got.value() == 0) return bytes;
    }
}

}  // namespace

std::vector<JournalRow> parseJournalRows(QByteArrayView bytes) {
    // A spreadsheet may have saved the file with a byte-order mark.
    const qsizetype start = bytes.startsWith(kUtf8Mark) ? kUtf8Mark.size() : 0;
    std::vector<JournalRow> rows;
    for (qsizetype from = start;;) {
        const qsizetype lf = bytes.indexOf('\n', from);
        if (lf < 0) return rows;
        if (std::optional<JournalRow> row = parseRow(bytes.sliced(from, lf - from))) {
            if (row->outcomeAt >= 0) row->outcomeAt += from;
            rows.push_back(std::move(*row));
        }
        from = lf + 1;
    }
}

Result<JournalRun> journalRun(const QString& path, QByteArrayView bytes) {
    const std::optional<JournalName> name = parseJournalName(fileNameOf(path));
    if (!name) return makeFailure(code::BadFileName);
    JournalRun run;
    run.path = path;
    run.sequence = name->sequence;
    run.kind = name->kind;
    run.firstNumber = name->firstNumber;
    run.undone = name->undone;
    run.rows = parseJournalRows(bytes);
    return run;
}

Result<JournalRun> readJournal(FileSystem& fs, const QString& path) {
    if (!parseJournalName(fileNameOf(path))) return makeFailure(code::BadFileName);
    Result<QByteArray> bytes = readAll(fs, path);
    if (!bytes) return bytes.failure();
    return journalRun(path, bytes.value());
}

}  // namespace quillo
