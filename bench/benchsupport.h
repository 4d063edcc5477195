#pragma once
// What the benchmarks share: a Progress that costs what the window's does
// minus the painting it paces, and the median of repeated runs.

#include <QString>
#include <algorithm>
#include <vector>

#include "platform/clock.h"
#include "platform/progress.h"

namespace quillo::bench {

class QuietProgress final : public Progress {
  public:
    long blinks = 0;
    QString lastCount, lastMessage, lastNumber;
    // The window's blink reads the clock on every call.
    void BlinkStep() override {
        ++blinks;
        m_due = std::max(m_due, systemClock().seconds());
    }
    void count(const QString& c) override { lastCount = c; }
    void message(const QString& m) override { lastMessage = m; }
    void number(const QString& n) override { lastNumber = n; }
    bool stopRequested() override { return false; }

  private:
    double m_due = 0;
};

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace quillo::bench
