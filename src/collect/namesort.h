#pragma once
// The name sort: folder, then name, then kind, by UTF-16 code unit.

#include <QString>
#include <vector>

#include "platform/progress.h"

namespace quillo {

void FileSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress);

}  // namespace quillo
