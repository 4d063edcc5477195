#pragma once
// What the name sort and the size sort share: code-unit text order, and a
// sort of the table's rows that can stop between two of its steps.

#include <QString>
#include <algorithm>
#include <iterator>
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

// Rows a merge holds aside at most: a million-row table is merged in about a
// megabyte beside it, not half its size.
inline constexpr size_t kMergeBufferRows = size_t(1) << 14;

// Merges the sorted neighbouring runs [first, middle) and [middle, last) in
// place by less. Runs already in order (rows collected folder by folder,
// mostly) cost one comparison and runs wholly the other way round a
// rotation; a real merge holds aside at most kMergeBufferRows rows, longer
// runs being cut into pieces of that size by rotations.
template <class It, class Less>
void mergeRuns(It first, It middle, It last, Less less) {
    using Row = typename std::iterator_traits<It>::value_type;
    std::vector<Row> aside;
    while (first != middle && middle != last && less(*middle, *std::prev(middle))) {
        if (less(*std::prev(last), *first)) {
            std::rotate(first, middle, last);
            return;
        }
        const size_t left = size_t(middle - first);
        const size_t right = size_t(last - middle);
        if (left <= kMergeBufferRows && left <= right) {
            // The left run aside, merged forwards: writing never overtakes reading.
            aside.assign(std::make_move_iterator(first), std::make_move_iterator(middle));
            auto a = aside.begin();
            It out = first;
            for (It b = middle; a != aside.end(); ++out) {
                if (b != last && less(*b, *a))
                    *out = std::move(*b++);
                else
                    *out = std::move(*a++);
            }
            return;
        }
        if (right <= kMergeBufferRows) {
            // The right run aside, merged backwards.
            aside.assign(std::make_move_iterator(middle), std::make_move_iterator(last));
            auto b = aside.end();
            It out = last;
            for (It a = middle; b != aside.begin();) {
                if (a != first && less(*std::prev(b), *std::prev(a)))
                    *--out = std::move(*--a);
                else
                    *--out = std::move(*--b);
            }
            return;
        }
        // Both too long: the halves that belong together are brought together
        // by one rotation, the first pair merged here and the second in turn.
        It cutLeft, cutRight;
        if (left > right) {
            cutLeft = first + std::ptrdiff_t(left / 2);
            cutRight = std::lower_bound(middle, last, *cutLeft, less);
        } else {
            cutRight = middle + std::ptrdiff_t(right / 2);
            cutLeft = std::upper_bound(first, middle, *cutRight, less);
        }
        const It joined = std::rotate(cutLeft, middle, cutRight);
        mergeRuns(first, cutLeft, joined, less);
        first = joined;
        middle = cutRight;
    }
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
            mergeRuns(at(from), at(from + width), at(from + 2 * width), less);
        }
    }
    return true;
}

}  // namespace quillo
