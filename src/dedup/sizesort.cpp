#include "dedup/sizesort.h"

#include "collect/columnsort.h"

namespace quillo {

void SizeSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress) {
    sortColumns(File, Item, Size, Flag, n, progress, [&](size_t x, size_t y) {
        if (Size[x] != Size[y]) return Size[x] < Size[y];
        if (const int c = compareCodeUnits(Flag[x], Flag[y])) return c < 0;
        if (const int c = compareCodeUnits(File[x], File[y])) return c < 0;
        return compareCodeUnits(Item[x], Item[y]) <= 0;
    });
}

}  // namespace quillo
