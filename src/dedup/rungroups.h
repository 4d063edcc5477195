#pragma once
// Groups a run of same-size entries by their contents, read piece by piece
// only as deep as members of a group still agree, so that the pair loop meets
// only entries that can still be identical. Digests only ever prove that two
// files differ; a removal still needs the byte-for-byte comparison.

#include <memory>
#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"
#include "dedup/comparebuffers.h"
#include "dedup/foldercache.h"
#include "platform/filesystem.h"

namespace quillo {

class RunGroups {
  public:
    // The entries at places [begin, end) of order (places in rows), all of one
    // recorded size. A run of two or fewer is not read: its one pair is
    // compared directly.
    RunGroups(const std::vector<FileEntry>& rows, const std::vector<qint32>& order, qint32 begin,
              qint32 end, FolderCache& folders, CompareBuffers& buffers, Progress& progress);

    // Calls visit(j) for every place j after i that i must meet, in order:
    // the members of i's group and the entries that could not be read (all
    // entries after i when i itself could not be read).
    template <class Visit>
    void forEachPartner(qint32 i, Visit visit) const;

    // The user asked to stop while the run was being read: no groups.
    bool stopped() const { return m_stopped; }

    // The bytes of the entry at place, where it was small enough to be read
    // whole while grouping (as they were then), or null.
    const char* bytes(qint32 place) const {
        return m_bytes && m_whole[size_t(place - m_begin)] ? slot(place) : nullptr;
    }

  private:
    static constexpr int kUnreadable = -1;
    // Where the entry at place keeps its bytes (m_bytes held).
    char* slot(qint32 place) const { return m_bytes.get() + (place - m_begin) * m_size; }
    // Bounds the bytes a run keeps: a thousand files of the first piece's size.
    static constexpr qint64 kKeptBytes = qint64(16) << 20;
    void split(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
               FolderCache& folders, CompareBuffers& buffers, Progress& progress);
    void oneGroup();

    qint32 m_begin, m_end;
    bool m_stopped = false;
    std::vector<int> m_group;                    // by position in the run
    std::vector<std::vector<qint32>> m_members;  // by group: places, ascending
    std::vector<qint32> m_unreadable;            // places, ascending
    qint64 m_size = 0;                           // of every entry of the run
    std::unique_ptr<char[]> m_bytes;             // by position in the run
    std::vector<bool> m_whole;                   // read whole into m_bytes, by position
};

template <class Visit>
void RunGroups::forEachPartner(qint32 i, Visit visit) const {
    const int g = m_group[size_t(i - m_begin)];
    if (g == kUnreadable) {
        for (qint32 j = i + 1; j < m_end; ++j) visit(j);
        return;
    }
    const std::vector<qint32>& members = m_members[size_t(g)];
    auto a = std::upper_bound(members.begin(), members.end(), i);
    auto b = std::upper_bound(m_unreadable.begin(), m_unreadable.end(), i);
    while (a != members.end() || b != m_unreadable.end()) {
        if (b == m_unreadable.end() || (a != members.end() && *a < *b))
            visit(*a++);
        else
            visit(*b++);
    }
}

}  // namespace quillo
