#pragma once
// The name sort: folder, then name, then kind, by UTF-16 code unit.

#include <span>
#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"

namespace quillo {

// False when stopped on request; the rows are then half sorted.
bool FileSort(std::span<FileEntry> rows, Progress& progress);

// Merges rows [0, from) and [from, end), each sorted, in place: the same order
// as sorting them together.
void mergeSorted(std::vector<FileEntry>& rows, size_t from);

}  // namespace quillo
