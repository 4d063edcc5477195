#pragma once
// Immediate repaints of labels that a long command changes many times a
// second: at most one per control every 15 ms; flush() paints whatever is
// still waiting, so the last value is on screen when the command returns.

#include <QHash>
#include <QPointer>
#include <QWidget>

#include "platform/clock.h"

namespace quillo {

class RepaintPacer {
  public:
    explicit RepaintPacer(Clock& clock) : m_clock(clock) {}

    // w has changed: repaint it now unless it was repainted less than 15 ms ago.
    void changed(QWidget* w);

    // Repaints every control whose last change is not yet painted.
    void flush();

    static constexpr double kInterval = 0.015;  // seconds

  private:
    struct Slot {
        QPointer<QWidget> widget;
        double paintedAt = -1e300;
        bool pending = false;
    };
    Clock& m_clock;
    QHash<QWidget*, Slot> m_slots;
};

}  // namespace quillo
