#pragma once
// Loading one file for the preview: read through the file-system seam into
// memory, then decoded straight to the size the pane needs. Slow (it reads
// and decodes): never called on the window's thread.

#include "platform/filesystem.h"
#include "ui/preview/loadedpicture.h"
#include "ui/preview/picturecache.h"

namespace quillo {

// The most bytes the preview reads of one file.
inline constexpr qint64 kMaxPictureBytes = qint64(256) << 20;

// The picture at path fitted within bounds (device pixels), from cache when it
// holds this very file at these bounds; a fresh decode is kept there.
LoadedPicture loadPicture(FileSystem& fs, const QString& path, QSize bounds, PictureCache& cache);

}  // namespace quillo
