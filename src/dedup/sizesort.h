#pragma once
// The size sort: size, then kind, then folder, then name.

#include <QString>
#include <vector>

#include "platform/progress.h"

namespace quillo {

void SizeSort(std::vector<QString>& File, std::vector<QString>& Item, std::vector<qint64>& Size,
              std::vector<QString>& Flag, qint32 n, Progress& progress);

}  // namespace quillo
