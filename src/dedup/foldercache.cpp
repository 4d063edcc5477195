#include "dedup/foldercache.h"

namespace quillo {

Result<FolderHandle*> FolderCache::folder(const QString& dir) {
    const auto known = m_held.constFind(dir);
    if (known != m_held.constEnd()) return known.value().get();
    Result<std::unique_ptr<FolderHandle>> opened = m_fs.openFolder(dir);
    if (!opened) return opened.failure();
    if (m_held.size() >= kHeld) m_held.clear();
    FolderHandle* held = opened.value().get();
    m_held.insert(dir, std::shared_ptr<FolderHandle>(std::move(opened.value())));
    return held;
}

Result<std::unique_ptr<InputFile>> FolderCache::openRead(const QString& dir, const QString& name) {
    const Result<FolderHandle*> held = folder(dir);
    if (!held) return held.failure();
    return held.value()->openRead(name);
}

}  // namespace quillo
