#include <windows.h>

#include "platform/cp932codec.h"

namespace quillo {

namespace {
constexpr UINT kCp932 = 932;
}  // namespace

std::optional<QByteArray> encodeCp932(QStringView text) {
    if (text.isEmpty()) return QByteArray();
    const auto* in = reinterpret_cast<const wchar_t*>(text.utf16());
    const int inLength = int(text.size());
    // No best fit: a character CP932 lacks is refused, never written as a
    // look-alike.
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, in, inLength, nullptr, 0,
                                        nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    QByteArray bytes(n, Qt::Uninitialized);
    if (::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, in, inLength, bytes.data(), n, nullptr,
                              &usedDefault) != n ||
        usedDefault)
        return std::nullopt;
    // "〜" (U+301C) and "～" (U+FF5E) may share 0x8160, which reads back as
    // "～": such a text would change on the next start.
    const std::optional<QString> back = decodeCp932(bytes);
    if (!back || *back != text) return std::nullopt;
    return bytes;
}

std::optional<QString> decodeCp932(QByteArrayView bytes) {
    if (bytes.isEmpty()) return QString();
    const int inLength = int(bytes.size());
    const int n =
        ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (n <= 0) return std::nullopt;
    QString text(n, Qt::Uninitialized);
    if (::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), inLength,
                              reinterpret_cast<wchar_t*>(text.data()), n) != n)
        return std::nullopt;
    return text;
}

}  // namespace quillo
