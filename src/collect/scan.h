#pragma once
// The directory scan: collects every file of one folder (and, with the switch
// at 1, of every folder below it) whose name carries the extension.

#include <QString>
#include <set>
#include <vector>

#include "collect/filetable.h"
#include "core/checkvalue.h"
#include "core/progress.h"
#include "platform/filesystem.h"

namespace quillo {

struct ScanRequest {
    QString folder;
    FileKind kind = FileKind::Target;
    CheckValue subfolderSwitch = CheckValue::Off;  // subfolders are walked only when On
    QString extension;
    std::set<FileId> avoid;  // folders not to walk (those a reference scan walked)
    qint32 countBefore = 0;  // entries already listed, for the count label
};

struct ScanResult {
    std::vector<FileEntry> entries;  // those given to append to, then the ones found in order
    std::set<FileId> walked;         // every folder walked
    int skipped = 0;       // entries that could not be read (listing, info, undecodable name, loop)
    bool stopped = false;  // the user asked to stop: entries holds only part of the folder
};

// True when the name is taken for the extension text: the last four characters
// compared without regard to letter case; a text shorter than four characters
// must match the whole end of the name.
bool extensionMatches(const QString& name, const QString& extension);

// The files found are appended to into, handed back as the result's entries:
// a collection adds to the table's own rows without a second copy of them.
ScanResult ScanFolder(const ScanRequest& request, Progress& progress, FileSystem& fs,
                      std::vector<FileEntry> into = {});

}  // namespace quillo
