#pragma once
// The layout's fonts by their family names. The families are Windows' Japanese
// gothics; they are mapped once onto the installed IPA gothics.

#include <QFont>

namespace quillo {

// Maps "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" onto the IPA gothics. Idempotent.
void installFontSubstitutions();

// "ＭＳ Ｐゴシック" (proportional) at pointSize.
QFont pGothic(qreal pointSize);

// "ＭＳ ゴシック" (fixed pitch) at pointSize.
QFont gothic(qreal pointSize);

}  // namespace quillo
