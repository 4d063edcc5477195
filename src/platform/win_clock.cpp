#include <windows.h>

#include "platform/clock.h"

namespace quillo {

namespace {
// The performance counter: cheap (no kernel call on current Windows) and
// monotonic; the tick count would step in 16 ms, as coarse as the repaint pacing.
class PerformanceClock final : public Clock {
  public:
    PerformanceClock() {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        m_perSecond = double(f.QuadPart);
    }
    double seconds() override {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return double(now.QuadPart) / m_perSecond;
    }

  private:
    double m_perSecond = 1;
};
}  // namespace

Clock& systemClock() {
    static PerformanceClock clock;
    return clock;
}

}  // namespace quillo
