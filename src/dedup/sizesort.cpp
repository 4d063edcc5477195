#include "dedup/sizesort.h"

#include "collect/columnsort.h"

namespace quillo {

bool SizeSort(std::vector<FileEntry>& rows, Progress& progress) {
    return sortRows(rows, progress, [](const FileEntry& x, const FileEntry& y) {
        if (x.size != y.size) return x.size < y.size;
        if (x.kind != y.kind) return x.kind < y.kind;
        if (const int c = compareCodeUnits(x.dir, y.dir)) return c < 0;
        return compareCodeUnits(x.name, y.name) < 0;
    });
}

}  // namespace quillo
