#pragma once
// After a crash: the journals whose runs were cut short are settled from the
// disk, so that what a killed run left half done is known and can be tidied.

#include <functional>

#include "journal/journal.h"
#include "journal/journalfiles.h"

namespace quillo {

// Settles every journal of folder that its writer never finished and that no
// other process holds; calls failedRow for each row found not to have
// happened, so that what was prepared for it (a trash record) can go.
void recoverJournals(const JournalFolder& folder,
                     const std::function<void(const JournalRow&)>& failedRow);

}  // namespace quillo
