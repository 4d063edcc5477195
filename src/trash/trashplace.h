#pragma once
// Finding the trash folder that a file can be moved into without leaving its
// file system, and holding it open. Each folder on the way is opened inside
// the one above it, never through a link, and checked on the held folder
// itself: what was checked is what is used, whatever is renamed meanwhile.

#include <QString>
#include <memory>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// A trash folder held open: its files/ and info/ folders. Windows' Recycle
// Bin keeps files and records in one folder: files, and no info.
struct TrashBin {
    QString root;    // the trash folder's path when it was found
    QString topdir;  // what recorded paths are relative to; empty: they stay absolute
    std::unique_ptr<FolderHandle> files, info;
};

// What a lookup found: a bin, or none when the drive has no trash this user
// may use; a failure means it could not be looked for.
using BinLookup = Result<std::unique_ptr<TrashBin>>;

// The device of the home trash in dataHome: of the trash folder itself or,
// while it is missing, of the nearest existing folder above it.
Result<quint64> homeTrashDevice(FileSystem& fs, const QString& dataHome);

// The home trash of user uid in dataHome, made where missing; none unless it
// is the user's own folder on device.
BinLookup homeTrashBin(FileSystem& fs, const QString& dataHome, uint uid, quint64 device);

// The trash of user uid on the file system of the held folder: at the top of
// that file system, .Trash/<uid> when .Trash is a real folder with the
// sticky bit, else .Trash-<uid>; made where missing, and none unless it is
// the user's own folder there.
BinLookup topTrashBin(FolderHandle& folder, uint uid);

// The trash folder at root, as a journal names it, held again: none unless
// root is named as a trash folder of user uid is and is their own folder.
BinLookup trashBinAt(FileSystem& fs, const QString& root, uint uid);

}  // namespace quillo
