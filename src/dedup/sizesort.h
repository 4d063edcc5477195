#pragma once
// The size sort: size, then kind (references first), then folder, then name.

#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"

namespace quillo {

// False when stopped on request; the rows are then half sorted.
bool SizeSort(std::vector<FileEntry>& rows, Progress& progress);

// The same order given as the places of rows, which stay as they are.
bool SizeSort(std::vector<qint32>& order, const std::vector<FileEntry>& rows, Progress& progress);

}  // namespace quillo
