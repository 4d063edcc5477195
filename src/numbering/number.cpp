#include "numbering/number.h"

#include <algorithm>

namespace quillo {

namespace {

// txtNumber holds at most eight characters, so no width is ever wider.
constexpr qsizetype kMaxDigits = 8;

// At most this many characters of the value are written back on normalising.
constexpr qsizetype kMaxValueChars = 10;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The magnitude of the integer part of the decimal number the text starts
// with, as digits without leading zeros; "0" when the text starts with no
// number. Leading blanks and one sign belong to the number ("-3" reads 3); a
// decimal point ends the integer part ("12.5" reads 12). An exponent is not
// read: like any other letter it ends the number, so "1e2" reads 1, just as
// "12a" reads 12. Working on the digit text itself means no overflow.
QString leadingMagnitude(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    while (i < text.size() && text[i] == u'0') ++i;
    const qsizetype start = i;
    while (i < text.size() && isAsciiDigit(text[i])) ++i;
    if (i == start) return QStringLiteral("0");
    return text.mid(start, i - start);
}

// digits + 1, in decimal.
QString incremented(QString digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return QLatin1Char('1') + digits;
}

// The rightmost width characters of digits with enough zeros in front.
QString rightmostPadded(const QString& digits, qsizetype width) {
    if (digits.size() >= width) return digits.right(width);
    return QString(width - digits.size(), u'0') + digits;
}

}  // namespace

NormalisedNumber normaliseNumber(const QString& text) {
    NormalisedNumber result;
    result.DigitCount = qint16(std::clamp<qsizetype>(text.size(), 1, kMaxDigits));
    const QString value = leadingMagnitude(text).right(kMaxValueChars);
    result.text = rightmostPadded(value, result.DigitCount);
    return result;
}

QString advanceNumber(const QString& text, qint16 DigitCount) {
    // A settings file without a number line leaves DigitCount at 0; padding to
    // no characters would give every later file the same name, so the width
    // then is that of the number text itself.
    const qsizetype width = DigitCount < 1 ? std::clamp<qsizetype>(text.size(), 1, kMaxDigits)
                                           : std::min<qsizetype>(DigitCount, kMaxDigits);
    return rightmostPadded(incremented(leadingMagnitude(text)), width);
}

}  // namespace quillo
