#pragma once
// Path bytes in a journal field: valid UTF-8 is written as it is, anything
// else reversibly escaped, so that a field never holds a tab or line break
// and a name that is no text still comes back byte for byte.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace quillo {

// The most bytes escapeInto writes for one input byte.
inline constexpr qsizetype kMaxEscapedPerByte = 4;

// Writes bytes escaped at out and returns the end: backslash, tab, CR and LF
// become \\, \t, \r and \n; other control bytes, DEL and every byte that is
// not part of a valid UTF-8 sequence become \xHH.
char* escapeInto(QByteArrayView bytes, char* out);

QByteArray escapeBytes(QByteArrayView bytes);

// The bytes an escaped field stands for; nothing for an escape that
// escapeInto never writes or a raw tab, CR or LF.
std::optional<QByteArray> unescapeBytes(QByteArrayView field);

}  // namespace quillo
