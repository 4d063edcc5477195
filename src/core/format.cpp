#include "core/format.h"

namespace quillo {

QString formatCount(qint64 n) {
    const bool negative = n < 0;
    QString digits = QString::number(negative ? -n : n);
    for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3) digits.insert(pos, QLatin1Char(','));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString countCaption(qint64 n) {
    return QLatin1Char('(') + formatCount(n) + QLatin1Char(')');
}

QString progressCaption(qint64 i, qint64 n) {
    return QLatin1Char('(') + formatCount(i) + QLatin1Char('/') + formatCount(n) + QLatin1Char(')');
}

}  // namespace quillo
