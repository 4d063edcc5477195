#pragma once
// What one duplicate pass has learned about the files it read: digests of each
// file's leading chunks. Digests only ever prove that two files differ; equal
// digests prove nothing, so a removal still needs a byte-for-byte comparison.

#include <QHash>
#include <QString>
#include <vector>

#include "platform/filesystem.h"

namespace quillo {

// Files are read in pieces of at most this many bytes: large reads keep the
// system-call count low, and the two buffers stay small whatever the file size.
inline constexpr qint64 kCompareChunk = qint64(1) << 20;

// Where digests are taken, the first pieces are smaller and grow by doubling
// (64 KiB, 64 KiB, 128 KiB ... up to kCompareChunk): a file that a known digest
// rules out early is read and hashed only that far, while a long file still
// costs one read per chunk.
inline constexpr qint64 kFirstPiece = qint64(64) << 10;

// The length of piece k (from 0) when digests are taken (stepped) or not.
constexpr qint64 pieceLength(size_t k, bool stepped) {
    if (!stepped || k >= 5) return kCompareChunk;
    return k == 0 ? kFirstPiece : kFirstPiece << (k - 1);
}

// How many pieces a file of size bytes is read in.
size_t pieceCount(qint64 size, bool stepped);

class ComparisonMemo {
  public:
    struct Known {
        FileInfo identity;            // the open file as it was read
        std::vector<quint64> prefix;  // [k]: digest of everything up to the end of piece k
    };

    // True when digests recorded earlier show that the two files, both expected
    // to hold size bytes, cannot have the same content. Makes no system call.
    bool provesDifferent(const QString& path1, const QString& path2, qint64 size) const;

    // The same by ids from idOf(): the pair loop asks millions of times.
    bool provesDifferent(int id1, int id2, qint64 size) const;

    // A stable id for what is known about path, or -1.
    int idOf(const QString& path) const { return m_index.value(path, -1); }

    // The record for path when it still describes the file now open as identity.
    const Known* find(const QString& path, const FileInfo& identity) const;

    // Keeps the longer knowledge of a file; a changed file's old record is replaced.
    void record(const QString& path, const FileInfo& identity, std::vector<quint64> prefix);

    // The path no longer names the recorded file (it was deleted or moved away).
    void forget(const QString& path);

    qsizetype size() const { return m_index.size(); }

    // Whether files read from now on are digested: worthless when no later
    // pair can involve them (a run of two entries of one size).
    void setDigesting(bool on) { m_digesting = on; }
    bool digesting() const { return m_digesting; }

    // How many leading pieces of a file of size bytes are worth a digest: one
    // beyond the deepest piece where two such files were seen to differ first.
    // Hashing deeper would only describe content that no pair has told apart.
    size_t usefulPieces(qint64 size) const { return size == m_depthSize ? m_depth + 1 : 1; }
    void differedAt(qint64 size, size_t piece);

    // Scratch buffers reused across calls, so a pass does not allocate per pair.
    std::vector<char>& buffer(int which) { return m_buffers[which]; }

  private:
    std::vector<Known> m_known;  // by id; a forgotten entry keeps its slot, emptied
    QHash<QString, int> m_index;
    std::vector<char> m_buffers[2];
    bool m_digesting = true;
    qint64 m_depthSize = -1;  // the size m_depth is about
    size_t m_depth = 0;
};

// True when both describe the same file in the same state: same device and
// inode, same size and modification time.
bool sameState(const FileInfo& a, const FileInfo& b);

}  // namespace quillo
