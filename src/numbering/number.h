#pragma once
// The running number: normalisation on leaving txtNumber, and the advance.

#include <QString>

namespace quillo {

struct NormalisedNumber {
    QString text;
    qint16 DigitCount = 1;
};

NormalisedNumber normaliseNumber(const QString& text);

// The number after text, as DigitCount characters (wrapping to zeros).
QString advanceNumber(const QString& text, qint16 DigitCount);

}  // namespace quillo
