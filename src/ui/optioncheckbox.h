#pragma once
// A check box with the three values the settings file knows: unticked,
// ticked and greyed. A click only ever toggles between unticked and ticked;
// the greyed state is set by the program.

#include <QCheckBox>

#include "core/checkvalue.h"

namespace quillo {

class OptionCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit OptionCheckBox(QWidget* parent = nullptr);

    CheckValue value() const;
    void setValue(CheckValue value);

  protected:
    void nextCheckState() override;
};

}  // namespace quillo
