#pragma once
// While a command runs, clicks and keys meant for the window's controls are
// dropped, not queued for after the run; Escape asks to stop instead.
// Painting, moving, resizing and other windows go on as usual.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace quillo {

class InputGuard : public QObject {
  public:
    // Guards window until destroyed; onEscape runs for Escape pressed in it.
    InputGuard(QWidget* window, std::function<void()> onEscape);
    ~InputGuard() override;
    InputGuard(const InputGuard&) = delete;
    InputGuard& operator=(const InputGuard&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> m_window;
    std::function<void()> m_onEscape;
};

}  // namespace quillo
