#include "journal/journalrecovery.h"

#include "journal/heldjournal.h"

namespace quillo {

void recoverJournals(const JournalFolder& folder,
                     const std::function<void(const JournalRow&)>& failedRow) {
    for (const JournalEntry& entry : folder.list()) {
        Result<std::unique_ptr<HeldJournal>> held = HeldJournal::open(folder.fs(), entry.path);
        if (!held || !held.value()->unfinished()) continue;
        for (const JournalRow& row : held.value()->settle())
            if (row.state == JournalState::Failed) failedRow(row);
    }
}

}  // namespace quillo
