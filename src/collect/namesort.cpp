#include "collect/namesort.h"

#include "collect/columnsort.h"

namespace quillo {

void FileSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress) {
    sortColumns(File, Item, Size, Flag, n, progress, [&](size_t x, size_t y) {
        if (const int c = compareCodeUnits(File[x], File[y])) return c < 0;
        // Equal folder texts from two runs then share one text: later
        // comparisons of them stop at the pointer test.
        if (File[x].constData() != File[y].constData()) File[y] = File[x];
        if (const int c = compareCodeUnits(Item[x], Item[y])) return c < 0;
        return compareCodeUnits(Flag[x], Flag[y]) <= 0;
    });
}

}  // namespace quillo
