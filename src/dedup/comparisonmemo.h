#pragma once
// What one duplicate pass has learned about the files it read: digests of each
// file's leading chunks. Digests only ever prove that two files differ; equal
// digests prove nothing, so a removal still needs a byte-for-byte comparison.

#include <QHash>
#include <QString>
#include <vector>

#include "platform/filesystem.h"

namespace quillo {

// Files are read and digested in chunks of this many bytes: large reads keep the
// system-call count low, and the two buffers stay small whatever the file size.
inline constexpr qint64 kCompareChunk = qint64(1) << 20;

class ComparisonMemo {
  public:
    struct Known {
        FileInfo identity;            // the open file as it was read
        std::vector<quint64> prefix;  // [k]: digest of the first min((k+1) chunks, size) bytes
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

    // Scratch buffers reused across calls, so a pass does not allocate per pair.
    std::vector<char>& buffer(int which) { return m_buffers[which]; }

  private:
    std::vector<Known> m_known;  // by id; a forgotten entry keeps its slot, emptied
    QHash<QString, int> m_index;
    std::vector<char> m_buffers[2];
    bool m_digesting = true;
};

// True when both describe the same file in the same state: same device and
// inode, same size and modification time.
bool sameState(const FileInfo& a, const FileInfo& b);

}  // namespace quillo
