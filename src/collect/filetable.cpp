#include "collect/filetable.h"

#include <utility>

namespace quillo {

void FileTable::append(const QString& dir, const QString& name, qint64 size, const QString& kind) {
    ++FileCount;
    FileDir.resize(size_t(FileCount) + 1);
    FileName.resize(size_t(FileCount) + 1);
    FileSize.resize(size_t(FileCount) + 1);
    FileKind.resize(size_t(FileCount) + 1);
    FileDir[size_t(FileCount)] = dir;
    FileName[size_t(FileCount)] = name;
    FileSize[size_t(FileCount)] = size;
    FileKind[size_t(FileCount)] = kind;
}

void FileTable::clear() {
    FileTable empty;
    std::swap(*this, empty);
}

}  // namespace quillo
