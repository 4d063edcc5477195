#include "dedup/sizesort.h"

#include <string_view>
#include <utility>

#include "collect/gapsort.h"

namespace quillo {

namespace {

// Binary order by UTF-16 code unit, a prefix first, no case folding.
int compareBinary(const QString& a, const QString& b) {
    const QStringView x(a);
    const QStringView y(b);
    return std::u16string_view(x.utf16(), size_t(x.size()))
        .compare(std::u16string_view(y.utf16(), size_t(y.size())));
}

}  // namespace

void SizeSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress) {
    const auto inOrder = [&](std::int64_t a, std::int64_t b) {
        const auto x = size_t(a);
        const auto y = size_t(b);
        if (Size[x] != Size[y]) return Size[x] < Size[y];
        if (const int c = compareBinary(Flag[x], Flag[y])) return c < 0;
        if (const int c = compareBinary(File[x], File[y])) return c < 0;
        return compareBinary(Item[x], Item[y]) <= 0;
    };
    const auto swap = [&](std::int64_t a, std::int64_t b) {
        const auto x = size_t(a);
        const auto y = size_t(b);
        File[x].swap(File[y]);
        Item[x].swap(Item[y]);
        std::swap(Size[x], Size[y]);
        Flag[x].swap(Flag[y]);
    };
    gapSort(n, inOrder, swap, [&] { progress.BlinkStep(); });
}

}  // namespace quillo
