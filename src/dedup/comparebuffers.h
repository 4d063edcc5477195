#pragma once
// Reading files in pieces: the piece schedule and the two buffers a pass
// reuses, so memory does not grow with the size of the files compared.

#include <QtGlobal>
#include <vector>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// Files are read in pieces of at most this many bytes: large reads keep the
// system-call count low, and the buffers stay small whatever the file size.
inline constexpr qint64 kCompareChunk = qint64(1) << 20;

// Digests are taken over pieces that start small and grow by doubling
// (64 KiB, 64 KiB, 128 KiB ... up to kCompareChunk): files that differ early
// are read only that far, while a long file still costs one read per chunk.
inline constexpr qint64 kFirstPiece = qint64(64) << 10;

constexpr qint64 digestPieceLength(size_t k) {
    if (k >= 5) return kCompareChunk;
    return k == 0 ? kFirstPiece : kFirstPiece << (k - 1);
}

class CompareBuffers {
  public:
    char* get(int which, qint64 bytes);

  private:
    std::vector<char> m_buffers[2];
};

// Reads up to want bytes, fewer only where the file ends early.
Result<qint64> readFully(InputFile& file, char* buffer, qint64 want);

}  // namespace quillo
