#pragma once
// Whether the reference and extraction folders overlap, so that collecting
// both would list one file as a reference and as a target.

#include <QString>

#include "platform/filesystem.h"

namespace quillo {

// True when one text begins the other (an empty text begins every text, and
// D:/Pics begins D:/Pics2), or when the file system sees the same folder, or
// one inside the other, through links, bind mounts, "//", "." or "..".
bool foldersOverlap(const QString& referFolder, const QString& selectFolder, FileSystem& fs);

}  // namespace quillo
