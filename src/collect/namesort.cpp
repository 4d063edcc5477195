#include "collect/namesort.h"

#include <utility>

#include "collect/gapsort.h"

namespace quillo {

namespace {

// Code-unit order (QString::compare with Qt::CaseSensitive compares UTF-16 code
// units). Folder texts of one folder share their data, so equal ones are
// recognised without walking them.
int compareText(const QString& a, const QString& b) {
    if (a.constData() == b.constData() && a.size() == b.size()) return 0;
    return QString::compare(a, b, Qt::CaseSensitive);
}

}  // namespace

void FileSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress) {
    const auto inOrder = [&](std::int64_t a, std::int64_t b) {
        const auto x = size_t(a);
        const auto y = size_t(b);
        if (const int c = compareText(File[x], File[y])) return c < 0;
        if (const int c = compareText(Item[x], Item[y])) return c < 0;
        return compareText(Flag[x], Flag[y]) <= 0;
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
