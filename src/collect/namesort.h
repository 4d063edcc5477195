#pragma once
// The name sort: folder, then name, then kind, by UTF-16 code unit.

#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"

namespace quillo {

// False when stopped on request; the rows are then half sorted.
bool FileSort(std::vector<FileEntry>& rows, Progress& progress);

// Merges sorted rows into sorted rows: the same order as sorting them together.
void mergeSorted(std::vector<FileEntry>& rows, std::vector<FileEntry> more);

}  // namespace quillo
