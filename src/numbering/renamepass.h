#pragma once
// The rename and move command (採番).

#include <QString>

#include "collect/filetable.h"
#include "core/checkvalue.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "platform/filesystem.h"

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

class RunJournal;

// Runs the command; the advancing number reaches the window through
// Progress::number. Each rename is written down in journal, when given,
// before it is made.
CommandOutcome runRename(const RenameRequest& request, FileTable& table, Progress& progress,
                         MessageBox& box, FileSystem& fs, RunJournal* journal = nullptr);

}  // namespace quillo
