#pragma once
// What 採番 will do, before anything is renamed: each target's old path and
// new path in numbering order, which new names are taken when their turn
// comes, what the user leaves out; and after acting, what became of each.
// Rows name files by their place in the file table, which stays as it is.

#include <QString>
#include <vector>

#include "collect/filetable.h"
#include "core/filestate.h"
#include "core/rowoutcome.h"

namespace quillo {

struct RenameRow {
    qint32 entry = 0;    // the file renamed
    quint32 number = 0;  // its number's value (the first row's is the number box's text)
    FileState state;     // as the search saw it
    bool ticked = true;
    bool named = false;  // it has its new name already: done without a rename
    bool taken = false;  // another file was at its new path when the search looked
    bool clash = false;  // its new name is another file's when its turn comes
    RowOutcome outcome = RowOutcome::Planned;
    qint16 code = 0;  // of a Failed row
};

struct RenamePlan {
    QString name;         // text of txtName
    QString firstNumber;  // text of txtNumber when the search ran
    qint16 width = 1;     // characters of each later number
    QString extension;    // the extension part of the new names
    QString movePrefix;   // the move folder with its separator; empty: each file's own folder
    std::vector<RenameRow> rows;  // targets in table order
    // What searching counted already: reference files kept, looks that failed.
    qint32 kept = 0;
    qint32 failed = 0;

    bool empty() const { return rows.empty(); }
    QString numberText(size_t row) const;
    QString newName(size_t row) const;
    QString newPath(size_t row, const std::vector<FileEntry>& entries) const;
    // The number after the last row whose turn came (renamed or failed): what
    // the number box holds after the run; the first number when none did.
    QString nextNumber() const;
    // Marks each ticked row whose new name is taken when its turn comes: by a
    // file found there not renamed away by a ticked row before it, or by the
    // new name of one.
    void markClashes(const std::vector<FileEntry>& entries);
    qint32 tickedCount() const;
};

}  // namespace quillo
