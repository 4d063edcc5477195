// Making a folder and the missing ones above it, through any file system.
#include "core/failure.h"
#include "platform/filesystem.h"

namespace quillo {

namespace {

// A folder that exists or was just made, by this run or another program.
bool madeOrThere(const Status& made) {
    return made || made.failure().code == code::FileExists;
}

}  // namespace

Status makeFolders(FileSystem& fs, const QString& path) {
    const Status made = fs.makeFolder(path);
    if (madeOrThere(made)) return {};
    const QString above = parentFolder(path);
    if (made.failure().code != code::PathNotFound || above == path) return made;
    if (const Status up = makeFolders(fs, above); !up) return up;
    const Status again = fs.makeFolder(path);
    return madeOrThere(again) ? Status() : again;
}

}  // namespace quillo
