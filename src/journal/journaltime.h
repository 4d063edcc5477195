#pragma once
// Row times: local ISO 8601 with milliseconds and the offset from UTC
// ("2024-05-01T13:45:12.345+09:00"). Formatting with QDateTime costs more
// than the rename it stamps, so the text of the current second is kept and
// only the milliseconds are written per row.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace quillo {

class LocalTimeText {
  public:
    // The most bytes write() writes.
    static constexpr qsizetype kMaxBytes = 48;

    // Writes the time of ms (since the epoch) at out and returns the end.
    char* write(qint64 ms, char* out);

  private:
    void refresh(qint64 second);

    qint64 m_second = -1;
    bool m_valid = false;
    QByteArray m_prefix;  // up to the seconds
    QByteArray m_zone;    // "+09:00", or "Z" after a UTC prefix
};

// The time of a row's text in ms since the epoch; nothing for a text that is
// no ISO 8601 date and time or lies outside 1970 to 9000.
std::optional<qint64> parseJournalTime(QByteArrayView text);

}  // namespace quillo
