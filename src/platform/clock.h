#pragma once
// Monotonic time for throttling (blink steps, repaint coalescing).

namespace quillo {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual double seconds() = 0;  // monotonic, any origin
};

Clock& systemClock();

}  // namespace quillo
