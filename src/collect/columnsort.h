#pragma once
// What the name sort and the size sort share: code-unit text order, and the gap
// sort over the table's rows.

#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

#include "collect/filetable.h"
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

// Sorts the rows; inOrder(x, y) tells whether row x may stand before row y.
// BlinkStep is called once per forward step. False when stopped on request,
// the rows then half sorted.
template <class InOrder>
bool sortRows(std::vector<FileEntry>& rows, Progress& progress, InOrder inOrder) {
    return gapSort(
        std::int64_t(rows.size()),
        [&](std::int64_t a, std::int64_t b) {
            return inOrder(rows[size_t(a - 1)], rows[size_t(b - 1)]);
        },
        [&](std::int64_t a, std::int64_t b) {
            std::swap(rows[size_t(a - 1)], rows[size_t(b - 1)]);
        },
        [&] {
            progress.BlinkStep();
            return !progress.stopRequested();
        });
}

}  // namespace quillo
