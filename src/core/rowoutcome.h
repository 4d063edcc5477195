#pragma once
// What became of one file of a plan when it was carried out.

#include <QtGlobal>

namespace quillo {

enum class RowOutcome : quint8 {
    Planned,         // not acted on (yet)
    Done,            // removed or renamed as planned
    DeletedForGood,  // no trash on its drive: deleted, as the user allowed
    Failed,          // its operation failed (its code kept beside it)
    Changed,         // it, or the file it was to be kept beside, changed since the plan
    LeftOut,         // unticked by the user: left alone
    Kept,            // a reference file under another path: left alone
};

}  // namespace quillo
