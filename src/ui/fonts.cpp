#include "ui/fonts.h"

#include <QStringList>

namespace quillo {

namespace {
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kGothic = QStringLiteral("ＭＳ ゴシック");
}  // namespace

void installFontSubstitutions() {
    if (!QFont::substitutes(kPGothic).isEmpty()) return;
    QFont::insertSubstitutions(kPGothic,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(kGothic,
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
}

QFont pGothic(qreal pointSize) {
    QFont font(kPGothic);
    font.setPointSizeF(pointSize);
    return font;
}

QFont gothic(qreal pointSize) {
    QFont font(kGothic);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace quillo
