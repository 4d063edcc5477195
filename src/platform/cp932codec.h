#pragma once
// Text in code page 932 (Windows' Shift-JIS): glibc's iconv "CP932" on Linux,
// the system's code page 932 on Windows.
// Plain "SHIFT_JIS" is never used: it lacks "№" and maps "～" differently.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace quillo {

// The CP932 bytes of text; nothing when a character cannot be held, or would
// not read back as itself (several characters share one CP932 code).
std::optional<QByteArray> encodeCp932(QStringView text);

// The text of CP932 bytes; nothing when the bytes are not valid CP932.
std::optional<QString> decodeCp932(QByteArrayView bytes);

}  // namespace quillo
