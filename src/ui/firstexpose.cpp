#include "ui/firstexpose.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace quillo {

namespace {
class ExposeWatch : public QObject {
  public:
    ExposeWatch(QWidget* window, std::function<void()> then)
        : QObject(window), m_window(window), m_then(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            // After the expose has been handled, not inside it.
            QTimer::singleShot(0, m_window, m_then);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* m_window;
    std::function<void()> m_then;
};
}  // namespace

void whenFirstExposed(QWidget* window, std::function<void()> then) {
    QWindow* handle = window->windowHandle();
    if (!handle) return;
    if (handle->isExposed()) {
        QTimer::singleShot(0, window, std::move(then));
        return;
    }
    handle->installEventFilter(new ExposeWatch(window, std::move(then)));
}

}  // namespace quillo
