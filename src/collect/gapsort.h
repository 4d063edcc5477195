#pragma once
// The diminishing-gap insertion sort shared by the name sort and the size sort.
// Gaps are n / divisor, the divisor starting at 2 and growing by 1.5 rounded
// half to even; the pass with gap 1 is the last. Entries 1..n are sorted in place.

#include <cmath>
#include <cstdint>

namespace quillo {

// The divisor after d: d * 1.5 rounded to the nearest integer, halves to even.
inline std::int64_t nextDivisor(std::int64_t d) {
    // d * 1.5 is exact in binary; nearbyint rounds halves to even by default.
    return std::int64_t(std::nearbyint(double(d) * 1.5));
}

// inOrder(a, b): entry a may stand before entry b (a <= b in the sort's keys).
// swap(a, b): exchanges the entries. goOn(): called once per forward step;
// false ends the sort there (false is returned, the order half made).
template <class InOrder, class Swap, class GoOn>
bool gapSort(std::int64_t n, InOrder inOrder, Swap swap, GoOn goOn) {
    if (n < 2) return true;
    std::int64_t divisor = 2;
    for (;;) {
        std::int64_t gap = n / divisor;
        if (gap == 0) gap = 1;
        const std::int64_t last = n - gap;
        for (std::int64_t i = 1; i <= last; ++i) {
            if (!goOn()) return false;
            std::int64_t a = i;
            std::int64_t b = i + gap;
            while (!inOrder(a, b)) {
                swap(a, b);
                if (a <= gap) break;
                a -= gap;
                b -= gap;
            }
        }
        if (gap < 2) return true;
        divisor = nextDivisor(divisor);
    }
}

}  // namespace quillo
