#pragma once
// The one pair of each run of two equal sizes, compared ahead of the pair
// loop, several at once: such a run is never grouped, and where few files
// share a size these pairs are most of the reading. The loop takes each
// verdict in its turn, so questions, a stop and the plan stay with it and in
// its order; a verdict it does not take costs a reading, never a removal.

#include <optional>
#include <vector>

#include "collect/filetable.h"
#include "dedup/comparebuffers.h"
#include "dedup/comparison.h"
#include "dedup/foldercache.h"
#include "dedup/sharedreads.h"

namespace quillo {

class PairsAhead {
  public:
    // rows in the order of places (size order), the guard of the table.
    PairsAhead(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
               const ReferenceGuard& guard, FolderCache& folders, CompareBuffers& buffers)
        : m_rows(rows), m_order(order), m_guard(guard), m_folders(folders), m_buffers(buffers) {}

    // The verdict on the pair of the run of two at place, compared ahead, or
    // nothing: the loop then compares it itself.
    std::optional<Compared> take(qint32 place);

  private:
    struct Pair {
        qint32 place;  // of the first; the second is the next place
        std::shared_ptr<FolderHandle> folders[2];
        QString paths[2];
        Compared verdict;
    };
    const FileEntry& at(qint32 place) const { return m_rows[size_t(m_order[size_t(place)])]; }
    // Compares the pairs of the next runs of two from place on: at most
    // kBatch of them and about kBatchBytes, so that a stop waits for little.
    void fill(qint32 place);

    static constexpr size_t kBatch = 64;
    static constexpr qint64 kBatchBytes = qint64(64) << 20;
    // A batch looks no further than this many places for its pairs.
    static constexpr qint32 kLookAhead = 4096;
    const std::vector<FileEntry>& m_rows;
    const std::vector<qint32>& m_order;
    const ReferenceGuard& m_guard;
    FolderCache& m_folders;
    CompareBuffers& m_buffers;
    SharedReads m_shared{2};
    std::vector<Pair> m_ready;  // by place, ascending
    size_t m_next = 0;          // the first not taken
    qint32 m_filledTo = 0;      // places before it were looked at by a batch
};

}  // namespace quillo
