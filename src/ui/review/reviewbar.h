#pragma once
// The line under the plan while it is reviewed: what the ticked rows come
// to, the one button that carries them out, and the one that leaves
// everything as it is.

#include <QWidget>

class QLabel;
class QPushButton;

namespace quillo {

class ReviewBar : public QWidget {
    Q_OBJECT
  public:
    explicit ReviewBar(QWidget* parent = nullptr);
    void setSummary(const QString& text);
    // The carry-out button's caption: "ごみ箱に移す", "リネームする" …
    void setAction(const QString& caption);
    QString summary() const;
    // Room for the buttons and the summary (two to three lines) at width.
    int heightFor(int width) const;
    QPushButton* carryOutButton() const { return m_carryOut; }
    QPushButton* cancelButton() const { return m_cancel; }

  signals:
    void carryOut();
    void cancel();

  private:
    QLabel* m_summary;
    QPushButton* m_carryOut;
    QPushButton* m_cancel;
};

}  // namespace quillo
