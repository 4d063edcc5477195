#include "ui/preview/pictureloader.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include "ui/preview/pictureload.h"

namespace quillo {

namespace {
// One thread per side: a pair decodes both at once.
constexpr int kThreads = 2;
// Enough for going back and forth over a few rows of a pair at any pane size.
constexpr int kCachedPictures = 8;
constexpr qint64 kCachedBytes = qint64(48) << 20;

size_t index(PaneSide side) {
    return side == PaneSide::Left ? 0 : 1;
}

struct Job {
    PaneSide side;
    quint64 ticket;
    QString path;
    QSize bounds;
};

struct Done {
    PaneSide side;
    quint64 ticket;
    LoadedPicture picture;
};
}  // namespace

// What the loader and its threads share. Everything passes through the mutex;
// the window's thread is only told that results wait.
struct PictureLoader::Shared {
    explicit Shared(FileSystem& f) : fs(f) {}
    FileSystem& fs;
    PictureCache cache{kCachedPictures, kCachedBytes};
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    std::deque<Done> done;
    std::array<quint64, 2> newest{};  // per side: work for an older ticket is skipped
    bool stopping = false;
    PictureLoader* receiver = nullptr;  // null once the loader is going away

    void work() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (stopping) return;
            Job job = std::move(jobs.front());
            jobs.pop_front();
            const bool current = newest[index(job.side)] == job.ticket;
            lock.unlock();
            LoadedPicture picture;
            if (current) picture = loadPicture(fs, job.path, job.bounds, cache);
            lock.lock();
            done.push_back({job.side, job.ticket, std::move(picture)});
            // A loader being destroyed takes its posted calls with it, and is
            // posted nothing once it has cleared receiver.
            if (receiver) QMetaObject::invokeMethod(receiver, "deliver", Qt::QueuedConnection);
        }
    }
};

PictureLoader::PictureLoader(FileSystem& fs, QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>(fs)) {
    m_shared->receiver = this;
}

PictureLoader::~PictureLoader() {
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->receiver = nullptr;
        m_shared->stopping = true;
        m_shared->jobs.clear();
    }
    m_shared->wake.notify_all();
    for (std::thread& t : m_threads) t.join();
}

void PictureLoader::request(PaneSide side, const QString& path, QSize bounds) {
    if (m_threads.empty()) {
        for (int i = 0; i < kThreads; ++i)
            m_threads.emplace_back([shared = m_shared] { shared->work(); });
    }
    const quint64 ticket = ++m_newest[index(side)];
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->newest[index(side)] = ticket;
        m_shared->jobs.push_back({side, ticket, path, bounds});
    }
    ++m_pending;
    m_shared->wake.notify_one();
}

void PictureLoader::cancel(PaneSide side) {
    const quint64 ticket = ++m_newest[index(side)];
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->newest[index(side)] = ticket;
}

void PictureLoader::clearCache() {
    m_shared->cache.clear();
}

void PictureLoader::deliver() {
    std::deque<Done> done;
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        done.swap(m_shared->done);
    }
    for (const Done& d : done) {
        --m_pending;
        if (d.ticket == m_newest[index(d.side)]) emit loaded(d.side, d.picture);
    }
    if (!done.empty() && m_pending == 0) emit idle();
}

}  // namespace quillo
