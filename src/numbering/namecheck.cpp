#include "numbering/namecheck.h"

namespace quillo {

namespace {

// Characters a file name cannot hold, in the order the notice lists them.
constexpr char16_t kForbidden[] = u"\\/:*?<>|\"";

// How much of the text after a removed character is kept.
constexpr qsizetype kKeptAfter = 99;

}  // namespace

QString forbiddenNameMessage() {
    return QStringLiteral("\\/:*?<>|") + QLatin1Char('"') +
           QStringLiteral("はファイル名に指定出来ません");
}

std::optional<QString> nameCheckPass(const QString& text) {
    const QStringView forbidden(kForbidden);
    qsizetype at = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (forbidden.contains(text[i])) {
            at = i;
            break;
        }
    }
    if (at < 0) return std::nullopt;

    QString after = text.mid(at + 1, kKeptAfter);
    // A cut between the halves of a surrogate pair would leave half a character.
    if (after.size() == kKeptAfter && after.back().isHighSurrogate() &&
        text.size() > at + 1 + kKeptAfter)
        after.chop(1);
    return text.left(at) + after;
}

}  // namespace quillo
