#include "ui/optioncheckbox.h"

namespace quillo {

OptionCheckBox::OptionCheckBox(QWidget* parent) : QCheckBox(parent) {
    setTristate(true);
}

int OptionCheckBox::value() const {
    switch (checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Checked:
            break;
    }
    return 1;
}

void OptionCheckBox::setValue(int value) {
    setCheckState(value == 0 ? Qt::Unchecked : value == 2 ? Qt::PartiallyChecked : Qt::Checked);
}

void OptionCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace quillo
