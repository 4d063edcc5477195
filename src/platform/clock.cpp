#include "platform/clock.h"

#include <chrono>

namespace quillo {

namespace {
class SteadyClock final : public Clock {
  public:
    double seconds() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
};
}  // namespace

Clock& systemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace quillo
