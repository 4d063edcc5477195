#pragma once
// A check box with the three values the settings file knows: 0 unticked,
// 1 ticked, 2 greyed. A click only ever toggles between unticked and ticked;
// the greyed state is set by the program.

#include <QCheckBox>

namespace quillo {

class OptionCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit OptionCheckBox(QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);  // 0 unticked, 2 greyed, anything else ticked

  protected:
    void nextCheckState() override;
};

}  // namespace quillo
