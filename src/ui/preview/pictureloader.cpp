#include "ui/preview/pictureloader.h"

#include <QMutex>
#include <atomic>

#include "ui/preview/pictureload.h"

namespace quillo {

namespace {
// Enough for going back and forth over a few rows of a pair at any pane size.
constexpr int kCachedPictures = 8;
constexpr qint64 kCachedBytes = qint64(48) << 20;

int index(PaneSide side) {
    return side == PaneSide::Left ? 0 : 1;
}
}  // namespace

// What the pool's threads share with the loader, kept alive by both.
struct PictureLoader::Shared {
    explicit Shared(FileSystem& f) : fs(f) {}
    FileSystem& fs;
    PictureCache cache{kCachedPictures, kCachedBytes};
    // Per side, the newest ticket: work for an older one is skipped if it has
    // not started yet.
    std::array<std::atomic<quint64>, 2> newest{};
    QMutex mutex;
    PictureLoader* receiver = nullptr;  // null once the loader is going away
};

PictureLoader::PictureLoader(FileSystem& fs, QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>(fs)) {
    m_shared->receiver = this;
    // One thread per side: a pair decodes both at once.
    m_pool.setMaxThreadCount(2);
}

PictureLoader::~PictureLoader() {
    {
        const QMutexLocker lock(&m_shared->mutex);
        m_shared->receiver = nullptr;
    }
    m_pool.clear();
    m_pool.waitForDone();
}

void PictureLoader::request(PaneSide side, const QString& path, QSize bounds) {
    const quint64 ticket = ++m_newest[index(side)];
    m_shared->newest[index(side)].store(ticket, std::memory_order_release);
    ++m_pending;
    m_pool.start([shared = m_shared, side, ticket, path, bounds] {
        LoadedPicture picture;
        if (shared->newest[index(side)].load(std::memory_order_acquire) == ticket)
            picture = loadPicture(shared->fs, path, bounds, shared->cache);
        // Posted under the lock: a loader being destroyed takes its posted
        // events with it, and posts nothing once it has cleared receiver.
        const QMutexLocker lock(&shared->mutex);
        if (PictureLoader* loader = shared->receiver) {
            QMetaObject::invokeMethod(
                loader, [loader, side, ticket, picture] { loader->arrived(side, ticket, picture); },
                Qt::QueuedConnection);
        }
    });
}

void PictureLoader::cancel(PaneSide side) {
    const quint64 ticket = ++m_newest[index(side)];
    m_shared->newest[index(side)].store(ticket, std::memory_order_release);
}

void PictureLoader::clearCache() {
    m_shared->cache.clear();
}

void PictureLoader::arrived(PaneSide side, quint64 ticket, const LoadedPicture& picture) {
    --m_pending;
    if (ticket == m_newest[index(side)]) emit loaded(side, picture);
    if (m_pending == 0) emit idle();
}

}  // namespace quillo
