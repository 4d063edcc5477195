#include <iconv.h>

#include <cerrno>

#include "platform/cp932codec.h"

namespace quillo {

namespace {

// One conversion with glibc's iconv; nothing on any invalid or unmappable input.
std::optional<QByteArray> convert(const char* to, const char* from, QByteArrayView in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    // Neither direction grows more than fourfold (a CP932 byte becomes at most
    // three UTF-8 bytes).
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    // Flush any shift state, so a truncated multibyte sequence is noticed.
    if (ok) ok = iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) return std::nullopt;
    out.truncate(outPtr - out.data());
    return out;
}

}  // namespace

std::optional<QByteArray> encodeCp932(QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    std::optional<QByteArray> bytes = convert("CP932", "UTF-8", utf8);
    if (!bytes) return std::nullopt;
    // "〜" (U+301C) and "～" (U+FF5E) both become 0x8160, which reads back as
    // "～": such a text would change on the next start.
    const std::optional<QString> back = decodeCp932(*bytes);
    if (!back || *back != text) return std::nullopt;
    return bytes;
}

std::optional<QString> decodeCp932(QByteArrayView bytes) {
    const std::optional<QByteArray> utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8) return std::nullopt;
    return QString::fromUtf8(*utf8);
}

}  // namespace quillo
