#include "journal/journalfiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimeZone>
#include <algorithm>

#include "core/failure.h"
#include "core/paths.h"
#include "journal/journalformat.h"
#include "platform/filesystem.h"

namespace quillo {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-hhmmss-zzz");
constexpr qsizetype kStampLength = 19;
const QString kSuffix = QStringLiteral(".tsv");
const QString kUndone = QStringLiteral("-undone");
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

// The newest first; within one millisecond the later counter first.
bool newerFirst(const JournalName& a, const JournalName& b) {
    if (a.start != b.start) return a.start > b.start;
    return a.counter > b.counter;
}

}  // namespace

QString journalFileName(const JournalName& name) {
    QString text = name.start.toUTC().toString(kStampFormat);
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
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
                    QStringLiteral("journal"));
}

Status makeJournalFolder(const QString& folder) {
    QDir dir;
    if (dir.exists(folder)) return {};
    if (!dir.mkpath(parentFolder(folder)) ||
        !dir.mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return makeFailure(code::PathNotFound);
    return {};
}

std::vector<QString> journalFiles(const QString& folder) {
    Result<Listing> listing = systemFileSystem().list(folder);
    if (!listing) return {};
    std::vector<std::pair<JournalName, QString>> found;
    for (const DirEntry& entry : listing->entries) {
        if (entry.type != EntryType::File && entry.type != EntryType::Unknown) continue;
        if (std::optional<JournalName> name = parseJournalName(entry.name))
            found.emplace_back(std::move(*name), entry.name);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return newerFirst(a.first, b.first); });
    std::vector<QString> paths;
    paths.reserve(found.size());
    for (const auto& [name, fileName] : found) paths.push_back(joinPath(folder, fileName));
    return paths;
}

Status pruneJournals(const QString& folder, int keep) {
    const std::vector<QString> paths = journalFiles(folder);
    Status first;
    for (std::size_t i = std::size_t(std::max(keep, 0)); i < paths.size(); ++i) {
        const Status status = systemFileSystem().remove(paths[i]);
        if (!status && first) first = status;
    }
    return first;
}

Status markUndone(const QString& path) {
    std::optional<JournalName> name = parseJournalName(fileNameOf(path));
    if (!name) return makeFailure(code::BadFileName);
    if (name->undone) return {};
    name->undone = true;
    return systemFileSystem().rename(path, joinPath(parentFolder(path), journalFileName(*name)));
}

}  // namespace quillo
