#pragma once
// How a duplicate leaves: into the delete folder when the box is ticked,
// else into its drive's trash; on a drive without a trash only as the user
// answered, once per run. Each way is written into the run's journal first.

#include <QString>
#include <optional>

#include "core/checkvalue.h"
#include "core/result.h"
#include "journal/journal.h"
#include "platform/filesystem.h"

namespace quillo {

class TrashCan;
class RunJournal;

struct DedupOptions {
    CheckValue chkDelete = CheckValue::Off;  // On: move duplicates into the delete folder
    QString deleteFolder;                    // text of txtDelete
};

// Where removed duplicates go and where each removal is written down. The
// window gives both; without a trash duplicates are deleted for good.
struct RemovalTools {
    TrashCan* trash = nullptr;
    RunJournal* journal = nullptr;
    // Whether duplicates on a drive without a usable trash are deleted for
    // good; asked once per run, nothing until then.
    std::optional<bool> deleteWithoutTrash;
};

enum class Removal {
    Moved,             // into the delete folder
    Trashed,           // into the trash
    DeletedForGood,    // the user allowed it: no trash on its drive, or none given
    NeedsTrashAnswer,  // no trash on its drive and the user not asked yet: nothing done
    KeptWithoutTrash,  // no trash on its drive and the user said no
    Failed,
};

struct Removed {
    Removal how = Removal::Failed;
    Status status;  // of a Failed removal
};

// Removes name from the held folder as options and tools say. row holds the
// file's old path, the kept file it equals and its state; the operation and
// the new path are filled in here.
Removed removeDuplicate(FolderHandle& folder, const QString& name, JournalRow row,
                        const DedupOptions& options, RemovalTools* tools);

}  // namespace quillo
