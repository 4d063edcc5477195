#pragma once
// The reference and extraction commands (参照 / 抽出).

#include <QString>

#include "collect/filetable.h"
#include "core/checkvalue.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "platform/filesystem.h"

namespace quillo {

struct CollectRequest {
    bool reference = false;  // true: 参照 (cmdRefer), false: 抽出 (cmdSelect)
    QString referFolder;     // text of txtRefer
    QString selectFolder;    // text of txtSelect
    CheckValue subfolderSwitch = CheckValue::Off;  // value of chkRefer or chkSelect
    QString extension;                             // text of cmbExtent
};

// Runs one collection command from the overlap check to the sorted table.
CommandOutcome runCollect(const CollectRequest& request, FileTable& table, Progress& progress,
                          MessageBox& box, FileSystem& fs);

}  // namespace quillo
