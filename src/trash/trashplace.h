#pragma once
// Finding and preparing the trash folder that a file can be moved into
// without leaving its file system.

#include <QString>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

struct TrashPlace {
    QString root;    // the trash folder, holding files/ and info/
    QString topdir;  // what recorded paths are relative to; empty: they stay absolute
};

// The device of the home trash in dataHome: of the trash folder itself or,
// while it is missing, of the nearest existing folder above it.
Result<quint64> homeTrashDevice(FileSystem& fs, const QString& dataHome);

// The home trash, created where missing; refused unless it lies on device.
Result<TrashPlace> prepareHomeTrash(FileSystem& fs, const QString& dataHome, quint64 device);

// The mount point of device: from folder (which must be on device) up to the
// last folder still on it.
Result<QString> fileSystemTop(FileSystem& fs, const QString& folder, quint64 device);

// The trash of user uid at top, the mount point of device: .Trash/<uid> when
// .Trash is a real folder with the sticky bit, else .Trash-<uid>; created
// where missing and refused unless it is the user's own real folder on device.
Result<TrashPlace> prepareTopTrash(FileSystem& fs, const QString& top, quint64 device, uint uid);

}  // namespace quillo
