#include "journal/periodicsync.h"

namespace quillo {

PeriodicSync::PeriodicSync(RecordFile& file, std::chrono::milliseconds period)
    : m_file(file), m_period(period), m_thread([this] { run(); }) {}

PeriodicSync::~PeriodicSync() {
    static_cast<void>(stop());
}

Status PeriodicSync::stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_status;
}

void PeriodicSync::run() {
    quint64 synced = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, m_period, [this] { return m_stopping; })) {
        const quint64 changes = m_changes.load(std::memory_order_acquire);
        if (changes == synced) continue;
        lock.unlock();
        const Status status = m_file.sync();
        lock.lock();
        synced = changes;
        if (!status && m_status) m_status = status;
    }
}

}  // namespace quillo
