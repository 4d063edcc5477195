#include "ui/repaintpacer.h"

namespace quillo {

void RepaintPacer::changed(QWidget* w) {
    Slot& slot = m_slots[w];
    slot.widget = w;
    const double now = m_clock.seconds();
    if (now - slot.paintedAt >= kInterval) {
        w->repaint();
        slot.paintedAt = now;
        slot.pending = false;
    } else {
        slot.pending = true;
    }
}

void RepaintPacer::flush() {
    for (Slot& slot : m_slots) {
        if (!slot.pending) continue;
        slot.pending = false;
        if (!slot.widget) continue;
        slot.widget->repaint();
        slot.paintedAt = m_clock.seconds();
    }
}

}  // namespace quillo
