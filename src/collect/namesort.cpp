#include "collect/namesort.h"

#include <algorithm>
#include <iterator>

#include "collect/columnsort.h"

namespace quillo {

namespace {

// Folder, name, kind: negative, zero or positive.
int compareNames(const FileEntry& x, const FileEntry& y) {
    if (const int c = compareCodeUnits(x.dir, y.dir)) return c;
    if (const int c = compareCodeUnits(x.name, y.name)) return c;
    return int(x.kind) - int(y.kind);
}

}  // namespace

bool FileSort(std::vector<FileEntry>& rows, Progress& progress) {
    return sortRows(rows, progress,
                    [](const FileEntry& x, const FileEntry& y) { return compareNames(x, y) < 0; });
}

void mergeSorted(std::vector<FileEntry>& rows, std::vector<FileEntry> more) {
    std::vector<FileEntry> merged;
    merged.reserve(rows.size() + more.size());
    std::merge(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()),
               std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()),
               std::back_inserter(merged),
               [](const FileEntry& x, const FileEntry& y) { return compareNames(x, y) < 0; });
    rows.swap(merged);
}

}  // namespace quillo
