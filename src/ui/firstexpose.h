#pragma once
// The moment a window's frame is known: a window manager frames a window
// before it is first exposed, and not before it is shown.

#include <QWidget>
#include <functional>

namespace quillo {

// Runs then once, after window (shown, so that it has its native window) is
// first exposed on the screen.
void whenFirstExposed(QWidget* window, std::function<void()> then);

}  // namespace quillo
