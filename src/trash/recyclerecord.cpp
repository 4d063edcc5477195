#include "trash/recyclerecord.h"

#include <QTimeZone>
#include <QtEndian>

namespace quillo {

namespace {

constexpr qint64 kVersion = 2;
// 100 ns steps between 1601-01-01 (FILETIME's start) and 1970-01-01.
constexpr qint64 kEpochDelta = 116444736000000000;
constexpr qint64 kTicksPerMs = 10000;
// Version, size, time, path length.
constexpr qsizetype kHeaderBytes = 8 + 8 + 8 + 4;
const QString kFilePrefix = QStringLiteral("$R");
const QString kRecordPrefix = QStringLiteral("$I");

template <class T>
void put(QByteArray& bytes, T value) {
    char le[sizeof(T)];
    qToLittleEndian(value, le);
    bytes.append(le, sizeof(T));
}

template <class T>
T take(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<T>(bytes.data() + at);
}

}  // namespace

QByteArray recycleRecordBytes(const RecycleRecord& record) {
    const qsizetype units = record.path.size() + 1;
    QByteArray bytes;
    bytes.reserve(kHeaderBytes + units * 2);
    put<qint64>(bytes, kVersion);
    put<qint64>(bytes, record.size);
    put<qint64>(bytes, record.removed.toMSecsSinceEpoch() * kTicksPerMs + kEpochDelta);
    put<quint32>(bytes, quint32(units));
    for (const QChar c : record.path) put<quint16>(bytes, c.unicode());
    put<quint16>(bytes, 0);
    return bytes;
}

std::optional<RecycleRecord> parseRecycleRecord(QByteArrayView bytes) {
    if (bytes.size() < kHeaderBytes || take<qint64>(bytes, 0) != kVersion) return std::nullopt;
    const quint32 units = take<quint32>(bytes, 24);
    // The path and its null, and nothing after them.
    if (units < 2 || bytes.size() != kHeaderBytes + qsizetype(units) * 2) return std::nullopt;
    QString path(units - 1, Qt::Uninitialized);
    for (quint32 i = 0; i < units - 1; ++i) {
        const quint16 unit = take<quint16>(bytes, kHeaderBytes + i * 2);
        if (unit == 0) return std::nullopt;
        path[i] = QChar(unit);
    }
    if (take<quint16>(bytes, kHeaderBytes + (units - 1) * 2) != 0) return std::nullopt;
    const qint64 ticks = take<qint64>(bytes, 16);
    return RecycleRecord{
        path, take<qint64>(bytes, 8),
        QDateTime::fromMSecsSinceEpoch((ticks - kEpochDelta) / kTicksPerMs, QTimeZone::utc())};
}

QString recycledFileName(const QString& id, const QString& extension) {
    return kFilePrefix + id + extension;
}

QString recordNameOf(const QString& recycledName) {
    if (!recycledName.startsWith(kFilePrefix) || recycledName.size() <= kFilePrefix.size())
        return QString();
    return kRecordPrefix + recycledName.mid(kFilePrefix.size());
}

}  // namespace quillo
