#pragma once
// What 削除 found, before anything changes: each duplicate beside the kept
// file it equals, grouped by that kept file; what the user leaves out or
// swaps; and after acting, what became of each duplicate. Rows name files by
// their place in the file table, which stays as it is meanwhile.

#include <QString>
#include <optional>
#include <vector>

#include "collect/filetable.h"
#include "core/commandoutcome.h"
#include "core/filestate.h"
#include "core/rowoutcome.h"

namespace quillo {

// How the duplicates of a run leave.
enum class WayOut : quint8 { Trash, DeleteFolder };

// A row is kept small, a plan may hold a million of them: a file compared is
// told by its inode, its last change and its device (an index into the
// plan's devices); its size is its entry's, for a file of any other size is
// never compared.
struct DuplicateRow {
    qint32 entry = 0;  // the file that goes
    qint32 group = 0;
    quint64 inode = 0;  // the file as it was compared
    qint64 mtimeNs = 0;
    quint16 device = 0;
    bool ticked = true;
    RowOutcome outcome = RowOutcome::Planned;
    quint8 code = 0;  // of a Failed row
};

struct DuplicateGroup {
    qint32 kept = 0;  // the file the others equal, which stays
    quint16 device = 0;
    bool keptIsReference = false;  // a reference is never the one that goes
    quint64 inode = 0;             // the kept file as it was compared
    qint64 mtimeNs = 0;
};

struct DuplicatePlan {
    WayOut way = WayOut::Trash;
    std::vector<DuplicateGroup> groups;
    std::vector<DuplicateRow> rows;  // by group, each group's rows in table order
    std::vector<quint64> devices;    // the devices rows and groups name by index
    // What finding counted already: targets asked about, reference files kept.
    qint32 failed = 0;
    qint32 kept = 0;

    bool empty() const { return rows.empty(); }
    // The index of device among the plan's devices, added where new; nothing
    // when the plan names as many as an index can.
    std::optional<quint16> deviceIndex(quint64 device);
    // A row's file, or a group's kept file, as it was compared, size bytes long.
    FileState state(const DuplicateRow& row, qint64 size) const;
    FileState keptState(const DuplicateGroup& group, qint64 size) const;
    const DuplicateGroup& groupOf(const DuplicateRow& row) const {
        return groups[size_t(row.group)];
    }
    // Whether row's file may become the one kept instead of its group's: never
    // when that would let a reference file go.
    bool canSwap(size_t row) const { return !groupOf(rows[row]).keptIsReference; }
    // row's file stays and its group's kept file goes in its place, ticked.
    void swap(size_t row);
    qint32 tickedCount() const;
    // The bytes the ticked rows' files hold; entries: the file table's.
    qint64 tickedBytes(const std::vector<FileEntry>& entries) const;
};

}  // namespace quillo
