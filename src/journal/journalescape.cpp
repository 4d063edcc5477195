#include "journal/journalescape.h"

namespace quillo {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool isContinuation(uchar c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence of two to four bytes at p, 0 when
// none starts there: no overlong forms, no surrogates, nothing past U+10FFFF.
qsizetype sequenceLength(const uchar* p, qsizetype left) {
    const uchar c = p[0];
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    }
    if (length == 0 || left < length || p[1] < low || p[1] > high) return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(p[i])) return 0;
    return length;
}

char* writeEscape(char letter, char* out) {
    *out++ = '\\';
    *out++ = letter;
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

char* escapeInto(QByteArrayView bytes, char* out) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar c = p[i];
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            *out++ = char(c);
            ++i;
            continue;
        }
        if (c >= 0x80) {
            if (const qsizetype length = sequenceLength(p + i, n - i)) {
                for (qsizetype k = 0; k < length; ++k) *out++ = char(p[i + k]);
                i += length;
                continue;
            }
        }
        if (c == '\\') {
            out = writeEscape('\\', out);
        } else if (c == '\t') {
            out = writeEscape('t', out);
        } else if (c == '\r') {
            out = writeEscape('r', out);
        } else if (c == '\n') {
            out = writeEscape('n', out);
        } else {
            out = writeEscape('x', out);
            *out++ = kHex[c >> 4];
            *out++ = kHex[c & 0xF];
        }
        ++i;
    }
    return out;
}

QByteArray escapeBytes(QByteArrayView bytes) {
    QByteArray out(bytes.size() * kMaxEscapedPerByte, Qt::Uninitialized);
    out.truncate(escapeInto(bytes, out.data()) - out.constData());
    return out;
}

std::optional<QByteArray> unescapeBytes(QByteArrayView field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\t' || c == '\r' || c == '\n') return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == field.size()) return std::nullopt;
        switch (field[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 'x': {
                if (i + 2 >= field.size()) return std::nullopt;
                const int high = hexValue(field[i + 1]), low = hexValue(field[i + 2]);
                if (high < 0 || low < 0) return std::nullopt;
                out += char(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

}  // namespace quillo
