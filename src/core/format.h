#pragma once
// Count texts as the labels show them.

#include <QString>

namespace quillo {

// "##,##0": decimal digits, a comma between groups of three, at least one digit.
QString formatCount(qint64 n);

// "(" + formatCount(n) + ")", the count label after a scan.
QString countCaption(qint64 n);

// "(" + formatCount(i) + "/" + formatCount(n) + ")", the count label during a pass.
QString progressCaption(qint64 i, qint64 n);

}  // namespace quillo
