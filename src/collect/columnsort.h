#pragma once
// What the name sort and the size sort share: code-unit text order, and the gap
// sort over the table's four parallel columns (rows always move whole).

#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

#include "collect/gapsort.h"
#include "platform/progress.h"

namespace quillo {

// Binary order by UTF-16 code unit, no case folding, a prefix first. Texts that
// share their data (the folder text of one folder) are equal without a walk.
inline int compareCodeUnits(const QString& a, const QString& b) {
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    const qsizetype n = std::min(a.size(), b.size());
    if (pa != pb) {
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t x = pa[i].unicode();
            const char16_t y = pb[i].unicode();
            if (x != y) return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Sorts rows 1..n; inOrder(x, y) tells whether row x may stand before row y.
// BlinkStep is called once per forward step.
template <class InOrder>
void sortColumns(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
                 std::vector<QString>& Flag, qint32 n, Progress& progress, InOrder inOrder) {
    const auto swap = [&](std::int64_t a, std::int64_t b) {
        const auto x = size_t(a);
        const auto y = size_t(b);
        File[x].swap(File[y]);
        Item[x].swap(Item[y]);
        std::swap(Size[x], Size[y]);
        Flag[x].swap(Flag[y]);
    };
    gapSort(
        n, [&](std::int64_t a, std::int64_t b) { return inOrder(size_t(a), size_t(b)); }, swap,
        [&] { progress.BlinkStep(); });
}

}  // namespace quillo
