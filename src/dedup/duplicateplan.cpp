#include "dedup/duplicateplan.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quillo {

void DuplicatePlan::swap(size_t row) {
    if (!canSwap(row)) return;
    DuplicateRow& r = rows[row];
    DuplicateGroup& g = groups[size_t(r.group)];
    std::swap(r.entry, g.kept);
    std::swap(r.inode, g.inode);
    std::swap(r.mtimeNs, g.mtimeNs);
    std::swap(r.device, g.device);
    r.ticked = true;
}

std::optional<quint16> DuplicatePlan::deviceIndex(quint64 device) {
    const auto known = std::find(devices.begin(), devices.end(), device);
    if (known != devices.end()) return quint16(known - devices.begin());
    if (devices.size() > std::numeric_limits<quint16>::max()) return std::nullopt;
    devices.push_back(device);
    return quint16(devices.size() - 1);
}

FileState DuplicatePlan::state(const DuplicateRow& row, qint64 size) const {
    return {{devices[row.device], row.inode}, size, row.mtimeNs};
}

FileState DuplicatePlan::keptState(const DuplicateGroup& group, qint64 size) const {
    return {{devices[group.device], group.inode}, size, group.mtimeNs};
}

qint32 DuplicatePlan::tickedCount() const {
    qint32 n = 0;
    for (const DuplicateRow& r : rows) n += r.ticked ? 1 : 0;
    return n;
}

qint64 DuplicatePlan::tickedBytes(const std::vector<FileEntry>& entries) const {
    qint64 n = 0;
    for (const DuplicateRow& r : rows) n += r.ticked ? entries[size_t(r.entry)].size : 0;
    return n;
}

}  // namespace quillo
