#pragma once
// The directory scan: appends every file of one folder (and, with the switch
// at 1, of every folder below it) whose name carries the extension.

#include <QString>

#include "collect/filetable.h"
#include "platform/filesystem.h"
#include "platform/progress.h"

namespace quillo {

struct ScanStats {
    int skipped = 0;  // entries that could not be read (listing, info, undecodable name, loop)
};

// True when the name is taken for the extension text: the last four characters
// compared without regard to letter case; a text shorter than four characters
// must match the whole end of the name.
bool extensionMatches(const QString& name, const QString& extension);

void ScanFolder(FileTable& table, const QString& folder, const QString& kind, int subfolderSwitch,
                const QString& extension, Progress& progress, FileSystem& fs, ScanStats& stats);

}  // namespace quillo
