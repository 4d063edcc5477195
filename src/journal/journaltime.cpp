#include "journal/journaltime.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstring>

namespace quillo {

namespace {

// Far beyond any clock this runs under, and short of the five-digit years
// that ISO 8601 texts cannot hold once a zone offset has been applied.
const qint64 kLatestMs =
    QDateTime(QDate(9000, 1, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();

qint64 floorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

QByteArray offsetText(int seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const int minutes = (seconds < 0 ? -seconds : seconds) / 60;
    return sign + QByteArray::number(minutes / 60).rightJustified(2, '0') + ':' +
           QByteArray::number(minutes % 60).rightJustified(2, '0');
}

}  // namespace

void LocalTimeText::refresh(qint64 second) {
    m_second = second;
    QDateTime at = QDateTime::fromSecsSinceEpoch(second);
    const int offset = at.offsetFromUtc();
    // An offset with seconds (old local mean times) has no ±hh:mm form.
    const bool utc = offset % 60 != 0;
    if (utc) at = at.toUTC();
    m_prefix = at.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1();
    m_zone = utc ? QByteArray("Z") : offsetText(offset);
    // A year past 9999 or before 1 would not fit: such rows get the epoch.
    m_valid = m_prefix.size() == 19;
}

char* LocalTimeText::write(qint64 ms, char* out) {
    qint64 second = floorDiv(ms, 1000);
    if (second != m_second) refresh(second);
    if (!m_valid) {
        second = 0;
        ms = 0;
        refresh(0);
    }
    const int milli = int(ms - second * 1000);
    std::memcpy(out, m_prefix.constData(), size_t(m_prefix.size()));
    out += m_prefix.size();
    *out++ = '.';
    *out++ = char('0' + milli / 100);
    *out++ = char('0' + milli / 10 % 10);
    *out++ = char('0' + milli % 10);
    std::memcpy(out, m_zone.constData(), size_t(m_zone.size()));
    return out + m_zone.size();
}

std::optional<qint64> parseJournalTime(QByteArrayView text) {
    const QDateTime at = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    if (!at.isValid()) return std::nullopt;
    const qint64 ms = at.toMSecsSinceEpoch();
    if (ms < 0 || ms >= kLatestMs) return std::nullopt;
    return ms;
}

}  // namespace quillo
