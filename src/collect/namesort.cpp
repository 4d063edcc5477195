#include "collect/namesort.h"

#include <algorithm>
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

// The same order for short texts such as names, without a library call.
int compareShort(const QString& a, const QString& b) {
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = pa[i].unicode();
        const char16_t y = pb[i].unicode();
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

void FileSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress) {
    const auto inOrder = [&](std::int64_t a, std::int64_t b) {
        const auto x = size_t(a);
        const auto y = size_t(b);
        if (const int c = compareText(File[x], File[y])) return c < 0;
        // Equal folder texts from two runs then share one text: later
        // comparisons of them stop at the pointer test.
        if (File[x].constData() != File[y].constData()) File[y] = File[x];
        if (const int c = compareShort(Item[x], Item[y])) return c < 0;
        return compareShort(Flag[x], Flag[y]) <= 0;
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
