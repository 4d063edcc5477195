#pragma once
// Reading many files at once: most of a small file's cost is system calls,
// which other cores can make meanwhile, and a cold disk answers several reads
// at once faster than one after another.

#include <QtGlobal>
#include <functional>
#include <vector>

#include "dedup/comparebuffers.h"

namespace quillo {

class SharedReads {
  public:
    // Fewer reads than sharedFrom are done faster by this thread alone than
    // a second one starts.
    explicit SharedReads(size_t sharedFrom) : m_sharedFrom(sharedFrom) {}

    // Calls read(x, buffers) for every x in [0, n), on this thread and, for
    // n from sharedFrom, on helper threads with buffers of their own; this thread
    // reads with mine. Before each of its own, this thread asks goOn(), and
    // all stop taking work once it says no. False when it did.
    bool run(size_t n, CompareBuffers& mine, const std::function<bool()>& goOn,
             const std::function<void(size_t, CompareBuffers&)>& read);

  private:
    size_t m_sharedFrom;
    std::vector<CompareBuffers> m_helperBuffers;
};

}  // namespace quillo
