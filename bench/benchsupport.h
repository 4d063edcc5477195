#pragma once
// What the benchmarks share: a Progress that costs what the window's does on
// the command's thread, and the median of repeated runs.

#include <QString>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "core/progress.h"

namespace quillo::bench {

// What the command's thread pays in the window: a flag for the blink, a
// locked copy for each caption, an atomic load for the stop question.
class QuietProgress final : public Progress {
  public:
    QString lastCount, lastMessage, lastNumber;
    void BlinkStep() override { m_blinked.store(true, std::memory_order_relaxed); }
    void count(const QString& c) override { set(lastCount, c); }
    void message(const QString& m) override { set(lastMessage, m); }
    void number(const QString& n) override { set(lastNumber, n); }
    bool stopRequested() override { return m_stop.load(std::memory_order_acquire); }

  private:
    void set(QString& field, const QString& value) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        field = value;
    }
    std::mutex m_mutex;
    std::atomic<bool> m_blinked{false}, m_stop{false};
};

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace quillo::bench
