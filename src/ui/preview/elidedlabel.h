#pragma once
// A one-line label that shortens its text in the middle ("IMG_…_0042.JPG")
// to the width it is given, instead of widening the layout; the whole text
// stays what a screen reader reads.

#include <QLabel>

namespace quillo {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    void setFullText(const QString& text);
    const QString& fullText() const { return m_full; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();
    QString m_full;
};

}  // namespace quillo
