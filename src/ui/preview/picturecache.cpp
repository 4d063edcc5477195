#include "ui/preview/picturecache.h"

namespace quillo {

std::optional<LoadedPicture> PictureCache::find(const PictureKey& key) {
    const QMutexLocker lock(&m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->key == key) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return m_entries.front().picture;
        }
    }
    return std::nullopt;
}

void PictureCache::insert(const PictureKey& key, const LoadedPicture& picture) {
    const qint64 size = picture.image.sizeInBytes();
    if (size > m_maxBytes) return;
    const QMutexLocker lock(&m_mutex);
    m_entries.remove_if([&](const Entry& e) {
        if (!(e.key == key)) return false;
        m_bytes -= e.picture.image.sizeInBytes();
        return true;
    });
    m_entries.push_front({key, picture});
    m_bytes += size;
    while (int(m_entries.size()) > m_maxEntries || m_bytes > m_maxBytes) {
        m_bytes -= m_entries.back().picture.image.sizeInBytes();
        m_entries.pop_back();
    }
}

void PictureCache::clear() {
    const QMutexLocker lock(&m_mutex);
    m_entries.clear();
    m_bytes = 0;
}

}  // namespace quillo
