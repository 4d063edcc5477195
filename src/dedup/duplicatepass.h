#pragma once
// The duplicate removal command (削除) and the comparison it runs per pair.

#include <QString>

#include "collect/filetable.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/progress.h"
#include "platform/result.h"

namespace quillo {

struct DedupOptions {
    int chkDelete = 0;     // 1: move duplicates into the delete folder; else delete
    QString deleteFolder;  // text of txtDelete
};

class ComparisonMemo;  // what one pass has learned about files it read

// Compares two files byte for byte; when identical, removes the second and
// blanks File2 and Item2. DupCount is raised only when the removal succeeded.
Status FilComp(QString& File1, QString& Item1, QString& File2, QString& Item2, qint64 Size2,
               const DedupOptions& options, qint32& DupCount, FileSystem& fs,
               ComparisonMemo* memo = nullptr);

// cmdDelete_Click from the size sort to the closing message.
void runDuplicateRemoval(FileTable& table, const DedupOptions& options, qint32& DupCount,
                         Progress& progress, MessageBox& box, FileSystem& fs);

}  // namespace quillo
