#include "ui/optioncheckbox.h"

namespace quillo {

OptionCheckBox::OptionCheckBox(QWidget* parent) : QCheckBox(parent) {
    setTristate(true);
}

CheckValue OptionCheckBox::value() const {
    switch (checkState()) {
        case Qt::Unchecked:
            return CheckValue::Off;
        case Qt::PartiallyChecked:
            return CheckValue::Grey;
        case Qt::Checked:
            break;
    }
    return CheckValue::On;
}

void OptionCheckBox::setValue(CheckValue value) {
    switch (value) {
        case CheckValue::Off:
            setCheckState(Qt::Unchecked);
            return;
        case CheckValue::Grey:
            setCheckState(Qt::PartiallyChecked);
            return;
        case CheckValue::On:
            break;
    }
    setCheckState(Qt::Checked);
}

void OptionCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace quillo
