#include "ui/inputguard.h"

#include <QApplication>
#include <QKeyEvent>

namespace quillo {

InputGuard::InputGuard(QWidget* window, std::function<void()> onEscape)
    : m_window(window), m_onEscape(std::move(onEscape)) {
    qApp->installEventFilter(this);
}

InputGuard::~InputGuard() {
    qApp->removeEventFilter(this);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        // Text from an input method and dragged text change a box as typing does.
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            break;
        default:
            return false;
    }
    // Only the guarded window's own controls: the questions a command asks are
    // windows of their own and take input as usual.
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && m_onEscape)
        m_onEscape();
    return true;
}

}  // namespace quillo
