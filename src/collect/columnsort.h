#pragma once
// What the name sort and the size sort share: code-unit text order, and a
// sort of the table's rows that can stop between two of its steps.

#include <QString>
#include <algorithm>
#include <span>
#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"

namespace quillo {

// Binary order by UTF-16 code unit, no case folding, a prefix first. Texts that
// share their data (the folder text of one folder) are equal without a walk.
inline int compareCodeUnits(const QString& a, const QString& b) {
    if (a.constData() == b.constData() && a.size() == b.size()) return 0;
    return QStringView(a).compare(QStringView(b), Qt::CaseSensitive);
}

// Sorts the rows by less, a total order (no two rows are equal in it, so the
// result is the one order whatever the method). Blocks are sorted, then
// merged; between two blocks or merges the blink steps and a stop request is
// honoured. False when stopped, the rows then in no particular order.
template <class Row, class Less>
bool sortRows(std::span<Row> rows, Progress& progress, Less less) {
    constexpr size_t kBlock = size_t(1) << 14;
    const size_t n = rows.size();
    if (n < 2) return true;
    const auto at = [&](size_t k) { return rows.begin() + std::ptrdiff_t(std::min(k, n)); };
    const auto goOn = [&] {
        progress.BlinkStep();
        return !progress.stopRequested();
    };
    for (size_t from = 0; from < n; from += kBlock) {
        if (!goOn()) return false;
        std::sort(at(from), at(from + kBlock), less);
    }
    for (size_t width = kBlock; width < n; width *= 2) {
        for (size_t from = 0; from + width < n; from += 2 * width) {
            if (!goOn()) return false;
            std::inplace_merge(at(from), at(from + width), at(from + 2 * width), less);
        }
    }
    return true;
}

}  // namespace quillo
