#pragma once
// Writes a record file to the disk about once a second while anything was
// stored since the last time, on a thread of its own: rows reach the disk
// without a flush per row, also while the pass waits for the user.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/result.h"
#include "platform/recordfile.h"

namespace quillo {

class PeriodicSync {
  public:
    explicit PeriodicSync(RecordFile& file,
                          std::chrono::milliseconds period = std::chrono::seconds(1));
    ~PeriodicSync();
    PeriodicSync(const PeriodicSync&) = delete;
    PeriodicSync& operator=(const PeriodicSync&) = delete;

    // Called by the one thread that stores, after each store: costs a plain store.
    void changed() {
        m_changes.store(m_changes.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // Ends the thread; the first failure of its syncs.
    Status stop();

  private:
    void run();

    RecordFile& m_file;
    const std::chrono::milliseconds m_period;
    std::atomic<quint64> m_changes{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;  // guarded by m_mutex
    Status m_status;          // guarded by m_mutex
    std::thread m_thread;
};

}  // namespace quillo
