#pragma once
// The byte-for-byte comparison of two files of one recorded size, each looked
// at and read inside its held folder.

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

// A file to compare: its name inside a held folder, and its full path for
// what is said about it.
struct FileAt {
    FolderHandle& folder;
    const QString& name;
    const QString& path;
};

// Compares two files, both expected to hold size bytes. Identical only for two different regular
// files of exactly that size whose bytes are equal and that did not change while being read. Memory
// does not grow with the size: the files are read piece by piece into buffers, stopping at the
// first difference.
Compared compareFiles(FileAt first, FileAt second, qint64 size, CompareBuffers& buffers);

// The same for two small files whose bytes were read whole already: each is
// looked at once more, for what it is now, and the bytes as read are compared.
// A file changed after its bytes were read is still found out: carrying out
// the plan compares the pair again, just before the removal.
Compared compareRead(FileAt first, FileAt second, qint64 size, const char* firstBytes,
                     const char* secondBytes);

}  // namespace quillo
