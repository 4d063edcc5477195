#include "collect/namesort.h"

#include <algorithm>

#include "collect/columnsort.h"

namespace quillo {

namespace {

// Folder, name, kind: negative, zero or positive.
int compareNames(const FileEntry& x, const FileEntry& y) {
    if (const int c = compareCodeUnits(x.dir.text(), y.dir.text())) return c;
    if (const int c = compareCodeUnits(x.name, y.name)) return c;
    return int(x.kind) - int(y.kind);
}

}  // namespace

bool FileSort(std::span<FileEntry> rows, Progress& progress) {
    return sortRows(rows, progress,
                    [](const FileEntry& x, const FileEntry& y) { return compareNames(x, y) < 0; });
}

void mergeSorted(std::vector<FileEntry>& rows, size_t from) {
    const auto middle = rows.begin() + std::ptrdiff_t(std::min(from, rows.size()));
    mergeRuns(rows.begin(), middle, rows.end(),
              [](const FileEntry& x, const FileEntry& y) { return compareNames(x, y) < 0; });
}

}  // namespace quillo
