#pragma once
// The duplicate removal command (削除) and the comparison it runs per pair.

#include <QString>
#include <optional>

#include "collect/filetable.h"
#include "core/checkvalue.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

struct DedupOptions {
    CheckValue chkDelete = CheckValue::Off;  // On: move duplicates into the delete folder
    QString deleteFolder;                    // text of txtDelete
};

class TrashCan;
class RunJournal;

// Where removed duplicates go and where each removal is written down. The
// window gives both; without a trash duplicates are deleted for good.
struct RemovalTools {
    TrashCan* trash = nullptr;
    RunJournal* journal = nullptr;
    // Whether duplicates on a file system without a usable trash are deleted
    // for good; asked once per run, nothing until then.
    std::optional<bool> deleteWithoutTrash;
};

// What one comparison came to. A failure names the file it concerns.
struct PairResult {
    Status status;
    QString failedPath;             // the file whose look, open, read or removal failed
    bool identical = false;         // the contents matched (whether or not the removal worked)
    bool kept = false;              // the second is a reference file under this path: left alone
    bool needsTrashAnswer = false;  // identical, but its file system has no usable trash
                                    // and the user has not been asked yet: nothing done
    bool leftWithoutTrash = false;  // identical, kept because it has no usable trash
};

class CompareBuffers;  // scratch memory reused across comparisons

// Compares two files byte for byte; when identical, removes the second and
// blanks its name. DupCount is raised only when the removal succeeded. A
// second file that the guard knows as a reference is never removed.
PairResult FilComp(const FileEntry& first, FileEntry& second, const DedupOptions& options,
                   const ReferenceGuard& guard, qint32& DupCount, FileSystem& fs,
                   CompareBuffers* buffers = nullptr, RemovalTools* tools = nullptr);

// cmdDelete_Click from the size sort to the closing message.
CommandOutcome runDuplicateRemoval(FileTable& table, const DedupOptions& options, qint32& DupCount,
                                   Progress& progress, MessageBox& box, FileSystem& fs,
                                   RemovalTools tools = {});

}  // namespace quillo
