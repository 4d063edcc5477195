#pragma once
// The message box of the real window: modal, titled "Quillo", no icon,
// Japanese button texts.

#include <QPointer>
#include <QWidget>

#include "core/messagebox.h"

namespace quillo {

class QtMessageBox : public MessageBox {
  public:
    // parent: the window the box is modal to; may be set later.
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    Answer show(const QString& text, Buttons buttons) override;

  private:
    QPointer<QWidget> m_parent;
};

}  // namespace quillo
