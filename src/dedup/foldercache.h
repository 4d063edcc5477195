#pragma once
// The folders a search reads from, held open: each file is then opened by
// its name inside its folder, and the kernel does not walk the whole path
// again for every piece.

#include <QHash>
#include <QString>
#include <memory>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

class FolderCache {
  public:
    explicit FolderCache(FileSystem& fs) : m_fs(fs) {}

    // The held folder (dir ends with the separator), or why it cannot be held.
    Result<FolderHandle*> folder(const QString& dir);
    // Opens dir + name for reading inside the held folder.
    Result<std::unique_ptr<InputFile>> openRead(const QString& dir, const QString& name);

  private:
    // Enough for the folders one run of equal sizes spreads over, few
    // enough to stay far below the descriptor limit.
    static constexpr int kHeld = 128;
    FileSystem& m_fs;
    QHash<QString, std::shared_ptr<FolderHandle>> m_held;
};

}  // namespace quillo
