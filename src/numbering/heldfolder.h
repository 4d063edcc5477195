#pragma once
// The folder of the entries being looked at or renamed, held while
// consecutive entries share it, so that the look and the rename happen in
// the same folder.

#include <memory>

#include "collect/filetable.h"
#include "platform/filesystem.h"

namespace quillo {

class HeldFolder {
  public:
    explicit HeldFolder(FileSystem& fs) : m_fs(fs) {}
    Result<FolderHandle*> of(const QString& dir) {
        if (!m_held || dir != m_dir) {
            m_dir = dir;
            Result<std::unique_ptr<FolderHandle>> held = m_fs.openFolder(dir);
            if (!held) {
                m_held.reset();
                return held.failure();
            }
            m_held = std::move(held.value());
        }
        return m_held.get();
    }

  private:
    FileSystem& m_fs;
    QString m_dir;
    std::unique_ptr<FolderHandle> m_held;
};

// A target that is a reference file under another path (a link or mount into
// the reference folder, or a folder swapped for one) as it is now.
inline bool keepsNow(const FileEntry& e, FolderHandle& folder, const ReferenceGuard& guard) {
    if (guard.empty()) return false;
    if (guard.holdsReferences(folder)) return true;
    const Result<FileInfo> now = folder.info(e.name);
    return now && guard.isReference(now->id());
}

}  // namespace quillo
