#pragma once
// A file as a plan saw it: which file, how long, when last changed. Carrying
// out a plan acts on a file only while it is still in this state.

#include <QtGlobal>

namespace quillo {

struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    auto operator<=>(const FileId&) const = default;
};

struct FileState {
    FileId id;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};

}  // namespace quillo
