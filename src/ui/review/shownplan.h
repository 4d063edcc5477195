#pragma once
// A plan on show in the window: while the user reviews it, while it is
// carried out, and afterwards with its outcomes until 消去 or the next
// collection.

#include <memory>
#include <optional>
#include <vector>

#include "collect/filetable.h"
#include "dedup/duplicateplan.h"
#include "dedup/removal.h"
#include "numbering/renameplan.h"
#include "ui/commandview.h"
#include "ui/review/planmodel.h"

class QWidget;

namespace quillo {

struct ShownPlan {
    enum class Stage { Reviewed, CarriedOut, Done };

    CommandButton button = CommandButton::Delete;  // Delete or Rename
    Stage stage = Stage::Reviewed;
    std::optional<DuplicatePlan> duplicates;
    DedupOptions options;  // as 削除 read them
    std::optional<RenamePlan> renames;
    std::unique_ptr<PlanModel> model;
    // The table's files, once the run has emptied the table.
    std::vector<FileEntry> entries;
    // While reviewed, the table is the plan's: nothing empties it.
    std::optional<FileTable::Use> use;
    // Controls set aside while the plan is on review, with whether each was
    // usable before.
    std::vector<std::pair<QWidget*, bool>> setAside;
};

}  // namespace quillo
