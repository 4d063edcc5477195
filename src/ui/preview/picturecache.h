#pragma once
// The last few pictures decoded for the preview, so that going back to a row
// just seen shows it at once. A file is known by its identity and state, so a
// file changed or replaced under the same name is decoded again. Safe to use
// from several threads.

#include <QMutex>
#include <list>
#include <optional>

#include "platform/filesystem.h"
#include "ui/preview/loadedpicture.h"

namespace quillo {

struct PictureKey {
    QString path;
    FileInfo file;  // device, inode, size and modification time count
    QSize bounds;
    bool operator==(const PictureKey& other) const {
        return path == other.path && sameRecordedState(file, other.file) && bounds == other.bounds;
    }
};

class PictureCache {
  public:
    PictureCache(int maxEntries, qint64 maxBytes)
        : m_maxEntries(maxEntries), m_maxBytes(maxBytes) {}

    // The picture kept for key, now the most recently used one.
    std::optional<LoadedPicture> find(const PictureKey& key);
    // Keeps picture, dropping the least recently used ones beyond the bounds.
    void insert(const PictureKey& key, const LoadedPicture& picture);
    void clear();

  private:
    struct Entry {
        PictureKey key;
        LoadedPicture picture;
    };
    QMutex m_mutex;
    std::list<Entry> m_entries;  // most recently used first
    qint64 m_bytes = 0;
    const int m_maxEntries;
    const qint64 m_maxBytes;
};

}  // namespace quillo
