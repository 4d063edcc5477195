#pragma once
// What 採番 reads from the window.

#include <QString>

#include "core/checkvalue.h"

namespace quillo {

struct RenameRequest {
    QString name;    // text of txtName
    QString number;  // text of txtNumber
    qint16 DigitCount = 0;
    QString extension;  // text of cmbExtent
    CheckValue chkJpegJpg = CheckValue::Off;
    CheckValue chkMove = CheckValue::Off;
    QString moveFolder;  // text of txtMove
};

}  // namespace quillo
