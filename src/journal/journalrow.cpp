#include "journal/journalrow.h"

#include <QList>
#include <charconv>
#include <cstring>

#include "core/paths.h"
#include "journal/journalescape.h"
#include "journal/journalformat.h"

namespace quillo {

namespace {

// The longest decimal of a 64-bit number, sign included.
constexpr qsizetype kMaxNumberBytes = 20;

char* field(char* out) {
    *out++ = '\t';
    return out;
}

template <class Number>
char* number(Number value, char* out) {
    return std::to_chars(out, out + kMaxNumberBytes, value).ptr;
}

template <class Number>
std::optional<Number> numberFromText(QByteArrayView text) {
    Number value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, err] = std::from_chars(text.data(), end, value);
    if (err != std::errc() || stop != end) return std::nullopt;
    return value;
}

// An absolute path without "." or ".." among its parts.
bool plainAbsolute(const QString& path) {
    if (!isAbsoluteFolder(path)) return false;
    for (const QStringView part : QStringView(path).split(kSeparator))
        if (part == u"." || part == u"..") return false;
    return true;
}

// The path of an escaped field; empty for an empty field.
std::optional<QString> pathFromText(QByteArrayView text) {
    if (text.isEmpty()) return QString();
    const std::optional<QByteArray> bytes = unescapeBytes(text);
    if (!bytes || bytes->contains('\0')) return std::nullopt;
    QString path;
    if (!decodeName(bytes->constData(), bytes->size(), &path) || !plainAbsolute(path))
        return std::nullopt;
    return path;
}

}  // namespace

RowPaths encodeRowPaths(const JournalRow& row) {
    return {encodeName(row.oldPath), encodeName(row.newPath), encodeName(row.keptPath)};
}

qsizetype maxRowBytes(const RowPaths& paths) {
    const qsizetype pathBytes = paths.oldPath.size() + paths.newPath.size() + paths.keptPath.size();
    return LocalTimeText::kMaxBytes + 16 + 4 * kMaxNumberBytes + kOutcomeWidth + kJournalColumns +
           pathBytes * kMaxEscapedPerByte;
}

char* writeRow(const JournalRow& row, qint64 timeMs, const RowPaths& paths, LocalTimeText& time,
               char* out, qsizetype* outcomeAt) {
    char* const start = out;
    out = time.write(timeMs, out);
    const QByteArrayView op = opText(row.op);
    std::memcpy(field(out), op.data(), size_t(op.size()));
    out += 1 + op.size();
    out = escapeInto(paths.oldPath, field(out));
    out = escapeInto(paths.newPath, field(out));
    out = escapeInto(paths.keptPath, field(out));
    out = number(row.before.size, field(out));
    out = number(row.before.device, field(out));
    out = number(row.before.inode, field(out));
    out = number(row.before.mtimeNs, field(out));
    out = field(out);
    *outcomeAt = out - start;
    writeOutcome(row.state, row.code, out);
    out += kOutcomeWidth;
    *out++ = '\n';
    return out;
}

std::optional<JournalRow> parseRow(QByteArrayView line) {
    if (line.endsWith('\r')) line.chop(1);
    QByteArrayView fields[kJournalColumns];
    int count = 0;
    for (qsizetype from = 0;; ++count) {
        const qsizetype tab = line.indexOf('\t', from);
        if (count == kJournalColumns) return std::nullopt;
        fields[count] = line.sliced(from, (tab < 0 ? line.size() : tab) - from);
        if (tab < 0) break;
        from = tab + 1;
    }
    if (count + 1 != kJournalColumns) return std::nullopt;

    JournalRow row;
    const std::optional<qint64> time = parseJournalTime(fields[0]);
    const std::optional<JournalOp> op = opFromText(fields[1]);
    std::optional<QString> oldPath = pathFromText(fields[2]);
    std::optional<QString> newPath = pathFromText(fields[3]);
    std::optional<QString> keptPath = pathFromText(fields[4]);
    const auto size = numberFromText<qint64>(fields[5]);
    const auto device = numberFromText<quint64>(fields[6]);
    const auto inode = numberFromText<quint64>(fields[7]);
    const auto mtime = numberFromText<qint64>(fields[8]);
    if (!time || !op || !oldPath || oldPath->isEmpty() || !newPath || !keptPath || !size ||
        !device || !inode || !mtime)
        return std::nullopt;
    row.timeMs = *time;
    row.op = *op;
    row.oldPath = std::move(*oldPath);
    row.newPath = std::move(*newPath);
    row.keptPath = std::move(*keptPath);
    row.before.size = *size;
    row.before.device = *device;
    row.before.inode = *inode;
    row.before.mtimeNs = *mtime;
    const Outcome outcome = outcomeFromText(fields[9]).value_or(Outcome{});
    row.state = outcome.state;
    row.code = outcome.code;
    if (fields[9].size() == kOutcomeWidth) row.outcomeAt = fields[9].data() - line.data();
    return row;
}

}  // namespace quillo
