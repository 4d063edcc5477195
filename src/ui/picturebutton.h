#pragma once
// A picture button: an icon, no caption, and the keyboard of a push button.

#include <QToolButton>

namespace quillo {

class PictureButton : public QToolButton {
    Q_OBJECT
  public:
    using QToolButton::QToolButton;

  protected:
    // Enter and Return press the focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quillo
