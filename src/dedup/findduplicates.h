#pragma once
// The first half of 削除: which targets are byte for byte the same as an
// earlier file of the table (a reference, or a target before them in size
// order), and which file each equals. Nothing on disk changes, and the table
// keeps its order.

#include "collect/filetable.h"
#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "dedup/duplicateplan.h"
#include "dedup/removal.h"
#include "platform/filesystem.h"

namespace quillo {

struct DuplicateSearch {
    // Completed with a plan to review; Completed without one ("重複ファイルは
    // 有りませんでした", or what could not be read, counted); or stopped.
    CommandOutcome outcome;
    DuplicatePlan plan;
};

// The words a run uses for its way out.
struct RemovalWords {
    QString busy;    // "ごみ箱に移しています、しばらくお待ち下さい" …
    QString done;    // "ごみ箱に移しました" …
    QString failed;  // "ごみ箱に移せませんでした" …
};
// Into the delete folder, into the trash, or deleted (no trash given).
RemovalWords removalWords(const DedupOptions& options, bool toTrash);

// Sorts (the places of) the table into size order, reads the candidates of
// each size as deep as they agree, and compares each pair byte for byte. A
// file that cannot be looked at or read is a Yes/No question, once per file:
// No stops the search. Closing texts count with words. DupCount starts at 0.
DuplicateSearch findDuplicates(const FileTable& table, const DedupOptions& options,
                               const RemovalWords& words, qint32& DupCount, Progress& progress,
                               MessageBox& box, FileSystem& fs);

}  // namespace quillo
