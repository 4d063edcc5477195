#include <time.h>

#include "platform/clock.h"

namespace quillo {

namespace {
// The coarse monotonic clock: a few milliseconds of resolution is plenty for
// 0.2 s blinks and 15 ms repaint pacing, and the long loops read it once per
// item, where the fine clock costs several times as much.
class CoarseMonotonicClock final : public Clock {
  public:
    double seconds() override {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    }
};
}  // namespace

Clock& systemClock() {
    static CoarseMonotonicClock clock;
    return clock;
}

}  // namespace quillo
