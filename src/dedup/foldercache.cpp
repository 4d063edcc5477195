#include "dedup/foldercache.h"

#include "platform/openfiles.h"

namespace quillo {

FolderCache::FolderCache(FileSystem& fs, const ReferenceGuard& guard)
    : m_fs(fs), m_guard(guard), m_room(heldFolderRoom()) {}

Result<CachedFolder> FolderCache::folder(const QString& dir) {
    const auto known = m_held.constFind(dir);
    if (known != m_held.constEnd()) return known.value();
    Result<std::unique_ptr<FolderHandle>> opened = m_fs.openFolder(dir);
    if (!opened) return opened.failure();
    if (m_held.size() >= m_room) m_held.clear();
    CachedFolder held{std::shared_ptr<FolderHandle>(std::move(opened.value())), {}, false};
    const Result<FileInfo> self = held.handle->self();
    if (self) held.id = self->id();
    held.holdsReferences = m_guard.holdsReferences(*held.handle);
    m_held.insert(dir, held);
    return held;
}

Result<CachedFolder> FolderCache::current(const QString& dir) {
    const auto known = m_held.constFind(dir);
    if (known != m_held.constEnd()) {
        const Result<FileInfo> now = m_fs.info(dir);
        if (now && now->id() == known.value().id) return known.value();
        m_held.erase(known);
    }
    return folder(dir);
}

Result<std::unique_ptr<InputFile>> FolderCache::openRead(const QString& dir, const QString& name) {
    const Result<CachedFolder> held = folder(dir);
    if (!held) return held.failure();
    return held->handle->openRead(name);
}

}  // namespace quillo
