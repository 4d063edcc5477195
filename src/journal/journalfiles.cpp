#include "journal/journalfiles.h"

#include <QTimeZone>
#include <algorithm>

#include "core/failure.h"
#include "core/paths.h"
#include "journal/journalformat.h"
#include "platform/userfolders.h"

namespace quillo {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-hhmmss-zzz");
constexpr qsizetype kStampLength = 19;
constexpr int kSequenceWidth = 8;
const QString kSuffix = QStringLiteral(".tsv");
const QString kUndone = QStringLiteral("-undone");
const QString kLockName = QStringLiteral(".lock");
constexpr QChar kCounterMark = u'_';

// Every byte but ASCII letters and digits is encoded, the unreserved marks too.
QString encodeNumber(const QString& number) {
    return QString::fromLatin1(number.toUtf8().toPercentEncoding({}, "-._~"));
}

std::optional<QString> decodeNumber(QStringView text) {
    for (QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'%') return std::nullopt;
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toLatin1()));
}

bool allDigits(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The sequence number a name starts with, and the rest after its dash; a
// name of an earlier version starts with its stamp's date instead, followed
// by the time of day, not by another date.
std::optional<quint64> takeSequence(QStringView& stem) {
    const qsizetype dash = stem.indexOf(u'-');
    if (dash < 0 || !allDigits(stem.first(dash))) return std::nullopt;
    const QStringView rest = stem.sliced(dash + 1);
    if (rest.size() <= 8 || rest[8] != u'-' || !allDigits(rest.first(8))) return std::nullopt;
    bool ok = false;
    const quint64 sequence = stem.first(dash).toULongLong(&ok, 10);
    if (!ok || sequence == 0) return std::nullopt;
    stem = rest;
    return sequence;
}

// The newest first: by sequence, and only among names without one by time.
bool newerFirst(const JournalName& a, const JournalName& b) {
    if (a.sequence != b.sequence) return a.sequence > b.sequence;
    if (a.start != b.start) return a.start > b.start;
    return a.counter > b.counter;
}

bool isUndo(const JournalEntry& e) {
    return e.name.kind == JournalKind::Undo;
}

}  // namespace

QString journalFileName(const JournalName& name) {
    QString text;
    if (name.sequence > 0)
        text = QStringLiteral("%1-").arg(name.sequence, kSequenceWidth, 10, QLatin1Char('0'));
    text += name.start.toUTC().toString(kStampFormat);
    text += QLatin1Char('-');
    text += QString::fromLatin1(kindText(name.kind));
    if (name.kind == JournalKind::Number && !name.firstNumber.isEmpty())
        text += QLatin1Char('-') + encodeNumber(name.firstNumber);
    if (name.counter > 1) text += kCounterMark + QString::number(name.counter);
    if (name.undone) text += kUndone;
    return text + kSuffix;
}

std::optional<JournalName> parseJournalName(const QString& fileName) {
    if (!fileName.endsWith(kSuffix)) return std::nullopt;
    QStringView stem = QStringView(fileName).chopped(kSuffix.size());
    JournalName name;
    name.sequence = takeSequence(stem).value_or(0);
    name.undone = stem.endsWith(kUndone);
    if (name.undone) stem.chop(kUndone.size());
    const qsizetype mark = stem.lastIndexOf(kCounterMark);
    if (mark >= 0) {
        bool ok = false;
        name.counter = stem.sliced(mark + 1).toInt(&ok, 10);
        if (!ok || name.counter < 2) return std::nullopt;
        stem.truncate(mark);
    }
    if (stem.size() < kStampLength + 2 || stem[kStampLength] != u'-') return std::nullopt;
    // Read as UTC from the start: as local time a stamp could fall into the
    // hour skipped when summer time begins.
    const QDate date = QDate::fromString(stem.first(8).toString(), QStringLiteral("yyyyMMdd"));
    const QTime time =
        QTime::fromString(stem.sliced(9, 10).toString(), QStringLiteral("hhmmss-zzz"));
    name.start = QDateTime(date, time, QTimeZone::utc());
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    stem = stem.sliced(kStampLength + 1);
    const qsizetype dash = stem.indexOf(u'-');
    const std::optional<JournalKind> kind =
        kindFromText(stem.first(dash < 0 ? stem.size() : dash).toLatin1());
    if (!kind) return std::nullopt;
    name.kind = *kind;
    if (dash >= 0) {
        std::optional<QString> number = decodeNumber(stem.sliced(dash + 1));
        if (name.kind != JournalKind::Number || !number || number->isEmpty()) return std::nullopt;
        name.firstNumber = std::move(*number);
    }
    return name;
}

QString journalFolder() {
    return joinPath(userDataFolder(), QStringLiteral("Quillo/journal"));
}

Status JournalFolder::make() const {
    return makeFolders(*m_fs, m_path);
}

std::vector<JournalEntry> JournalFolder::list() const {
    Result<Listing> listing = m_fs->list(m_path);
    if (!listing) return {};
    std::vector<JournalEntry> found;
    for (const DirEntry& entry : listing->entries) {
        if (entry.type != EntryType::File && entry.type != EntryType::Unknown) continue;
        if (std::optional<JournalName> name = parseJournalName(entry.name))
            found.push_back({std::move(*name), joinPath(m_path, entry.name)});
    }
    std::sort(found.begin(), found.end(), [](const JournalEntry& a, const JournalEntry& b) {
        return newerFirst(a.name, b.name);
    });
    return found;
}

Result<std::unique_ptr<FileLock>> JournalFolder::hold() const {
    if (const Status made = make(); !made) return made.failure();
    return m_fs->lockFile(joinPath(m_path, kLockName));
}

quint64 JournalFolder::nextSequence() const {
    quint64 last = 0;
    for (const JournalEntry& e : list()) last = std::max(last, e.name.sequence);
    return last + 1;
}

Status JournalFolder::prune(int keep) const {
    Status first;
    int runs = 0, undos = 0;
    for (const JournalEntry& e : list()) {
        // Undos are kept apart: taking runs back never costs runs their place.
        if (++(isUndo(e) ? undos : runs) <= keep) continue;
        const Status status = m_fs->remove(e.path);
        if (!status && first) first = status;
    }
    return first;
}

Status markUndone(FileSystem& fs, const QString& path) {
    std::optional<JournalName> name = parseJournalName(fileNameOf(path));
    if (!name) return makeFailure(code::BadFileName);
    if (name->undone) return {};
    name->undone = true;
    return fs.rename(path, joinPath(parentFolder(path), journalFileName(*name)));
}

}  // namespace quillo
