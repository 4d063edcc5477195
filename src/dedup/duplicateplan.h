#pragma once
// What 削除 found, before anything changes: each duplicate beside the kept
// file it equals, grouped by that kept file; what the user leaves out or
// swaps; and after acting, what became of each duplicate. Rows name files by
// their place in the file table, which stays as it is meanwhile.

#include <QString>
#include <vector>

#include "core/commandoutcome.h"
#include "core/filestate.h"
#include "core/rowoutcome.h"

namespace quillo {

// How the duplicates of a run leave.
enum class WayOut : quint8 { Trash, DeleteFolder };

struct DuplicateRow {
    qint32 entry = 0;  // the file that goes
    qint32 group = 0;
    FileState state;  // as it was compared
    bool ticked = true;
    RowOutcome outcome = RowOutcome::Planned;
    qint16 code = 0;  // of a Failed row
};

struct DuplicateGroup {
    qint32 kept = 0;  // the file the others equal, which stays
    FileState keptState;
    bool keptIsReference = false;  // a reference is never the one that goes
};

struct DuplicatePlan {
    WayOut way = WayOut::Trash;
    std::vector<DuplicateGroup> groups;
    std::vector<DuplicateRow> rows;  // by group, each group's rows in table order
    // What finding counted already: targets asked about, reference files kept.
    qint32 failed = 0;
    qint32 kept = 0;

    bool empty() const { return rows.empty(); }
    const DuplicateGroup& groupOf(const DuplicateRow& row) const {
        return groups[size_t(row.group)];
    }
    // Whether row's file may become the one kept instead of its group's: never
    // when that would let a reference file go.
    bool canSwap(size_t row) const { return !groupOf(rows[row]).keptIsReference; }
    // row's file stays and its group's kept file goes in its place, ticked.
    void swap(size_t row);
    qint32 tickedCount() const;
    qint64 tickedBytes() const;
};

}  // namespace quillo
