#include "dedup/sizesort.h"

#include "collect/columnsort.h"

namespace quillo {

namespace {

bool sizeOrder(const FileEntry& x, const FileEntry& y) {
    if (x.size != y.size) return x.size < y.size;
    if (x.kind != y.kind) return x.kind < y.kind;
    if (const int c = compareCodeUnits(x.dir.text(), y.dir.text())) return c < 0;
    return compareCodeUnits(x.name, y.name) < 0;
}

}  // namespace

bool SizeSort(std::vector<FileEntry>& rows, Progress& progress) {
    return sortRows(std::span(rows), progress, sizeOrder);
}

bool SizeSort(std::vector<qint32>& order, const std::vector<FileEntry>& rows, Progress& progress) {
    return sortRows(std::span(order), progress, [&](qint32 x, qint32 y) {
        // Rows equal in all four keys keep the order they had.
        const FileEntry& a = rows[size_t(x)];
        const FileEntry& b = rows[size_t(y)];
        if (sizeOrder(a, b)) return true;
        if (sizeOrder(b, a)) return false;
        return x < y;
    });
}

}  // namespace quillo
