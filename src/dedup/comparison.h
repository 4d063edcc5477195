#pragma once
// The byte-for-byte comparison of two files of one recorded size. The first
// is only read, by its path; the second, which may be removed afterwards, is
// looked at and read inside its held folder.

#include <QString>

#include "core/result.h"
#include "dedup/comparebuffers.h"
#include "platform/filesystem.h"

namespace quillo {

struct Compared {
    enum class Verdict { Identical, Different, Failed };
    Verdict verdict = Verdict::Different;
    FileInfo first, second;  // Identical: both as opened, and unchanged until the end
    Failure failure;         // Failed: what failed, on which file
    QString failedPath;
};

// Compares the file at path1 with name2 in folder2 (path2 its full path), both
// expected to hold size bytes. Identical only for two different regular files
// of exactly that size whose bytes are equal and that did not change while
// being read. Memory does not grow with the size: the files are read piece
// by piece into buffers, stopping at the first difference.
Compared compareFiles(const QString& path1, FolderHandle& folder2, const QString& name2,
                      const QString& path2, qint64 size, FileSystem& fs, CompareBuffers& buffers);

}  // namespace quillo
