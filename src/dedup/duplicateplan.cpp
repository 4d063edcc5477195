#include "dedup/duplicateplan.h"

#include <utility>

namespace quillo {

void DuplicatePlan::swap(size_t row) {
    if (!canSwap(row)) return;
    DuplicateRow& r = rows[row];
    DuplicateGroup& g = groups[size_t(r.group)];
    std::swap(r.entry, g.kept);
    std::swap(r.state, g.keptState);
    r.ticked = true;
}

qint32 DuplicatePlan::tickedCount() const {
    qint32 n = 0;
    for (const DuplicateRow& r : rows) n += r.ticked ? 1 : 0;
    return n;
}

qint64 DuplicatePlan::tickedBytes() const {
    qint64 n = 0;
    for (const DuplicateRow& r : rows) n += r.ticked ? r.state.size : 0;
    return n;
}

}  // namespace quillo
