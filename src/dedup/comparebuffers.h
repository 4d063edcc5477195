#pragma once
// Reading files in pieces: the piece schedule and the two buffers a pass
// reuses, so memory does not grow with the size of the files compared.

#include <QtGlobal>
#include <memory>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// Files are read in pieces of at most this many bytes: large reads keep the
// system-call count low, and the buffers stay small whatever the file size.
inline constexpr qint64 kCompareChunk = qint64(1) << 20;

// Digests are taken over pieces: the first bytes, then the last ones (files
// made by one program often share a long header, and an edit shows at the
// end), then the rest from the front in pieces that grow by doubling (64 KiB
// up to kCompareChunk). Files that differ early are read only that far, and
// a long file still costs one read per chunk.
inline constexpr qint64 kFirstPiece = qint64(16) << 10;
inline constexpr qint64 kTailPiece = qint64(4) << 10;

struct Piece {
    qint64 offset = 0;
    qint64 length = 0;
};

// Piece k of a file of size bytes whose front has been read up to front.
constexpr Piece digestPiece(size_t k, qint64 size, qint64 front) {
    if (k == 0) return {0, size < kFirstPiece ? size : kFirstPiece};
    if (k == 1) {
        const qint64 tail = size - front < kTailPiece ? size - front : kTailPiece;
        return {size - tail, tail};
    }
    const qint64 grown = k - 2 >= 4 ? kCompareChunk : (qint64(64) << 10) << (k - 2);
    return {front, size - front < grown ? size - front : grown};
}

// Where the front stands after piece k, and whether any byte is still unread.
constexpr qint64 frontAfter(size_t k, Piece piece, qint64 front) {
    return k == 1 ? front : piece.offset + piece.length;
}
constexpr bool unreadAfter(size_t k, Piece piece, qint64 size, qint64 front) {
    return k == 1 ? piece.offset > front : frontAfter(k, piece, front) < size;
}

// Two reusable buffers, page-aligned: the kernel copies into an aligned
// buffer several times faster than into one a few bytes off a cache line.
class CompareBuffers {
  public:
    char* get(int which, qint64 bytes);

  private:
    struct PageFree {
        void operator()(char* p) const;
    };
    std::unique_ptr<char, PageFree> m_buffers[2];
    size_t m_sizes[2] = {0, 0};
};

// Reads up to want bytes, fewer only where the file ends early.
Result<qint64> readFully(InputFile& file, char* buffer, qint64 want);

}  // namespace quillo
