#include "dedup/rungroups.h"

#include <xxhash.h>

#include <algorithm>

namespace quillo {

namespace {

// What reading one member at one depth gave.
enum class Seen { Read, Unreadable, NeverIdentical };

struct Member {
    qint32 index;
    FileInfo state;      // as first opened
    quint64 digest = 0;  // of the piece read last
};

// Reads piece k (at offset) of the file. A file read in one piece is read with
// one byte more than its recorded size, which shows one that has grown; a
// longer file is checked to be still the regular file first opened. A digest
// only ever spares comparisons, so a file changed since collection can cost a
// comparison, never a wrong removal: the comparison checks everything again.
// The open does not wait on a pipe left where a file was.
Seen readPiece(const FileEntry& e, Member& m, size_t k, qint64 offset, FileSystem& fs,
               CompareBuffers& buffers) {
    auto file = fs.openRead(e.path());
    if (!file) return Seen::Unreadable;
    const qint64 want = std::min(digestPieceLength(k), e.size - offset);
    const bool onePiece = k == 0 && want == e.size;
    if (!onePiece) {
        const Result<FileInfo> now = file.value()->info();
        if (!now) return Seen::Unreadable;
        if (k == 0) m.state = now.value();
        const bool collected = e.id == FileId{} || now->id() == e.id;
        if (now->type != EntryType::File || now->size != e.size || !collected ||
            !sameState(now.value(), m.state))
            return Seen::NeverIdentical;
        if (offset > 0 && !file.value()->seek(offset)) return Seen::Unreadable;
    }
    // Reads until want bytes are in: one read for a whole small file.
    const qint64 room = onePiece ? want + 1 : want;
    char* data = buffers.get(0, room);
    qint64 got = 0;
    while (got < want) {
        const Result<qint64> r = file.value()->read(data + got, room - got);
        if (!r) return Seen::Unreadable;
        if (r.value() == 0) break;
        got += r.value();
    }
    if (got != want) return Seen::NeverIdentical;
    m.digest = XXH3_64bits(data, size_t(want));
    return Seen::Read;
}

}  // namespace

RunGroups::RunGroups(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
                     qint32 begin, qint32 end, FileSystem& fs, CompareBuffers& buffers,
                     Progress& progress)
    : m_begin(begin), m_end(end), m_group(size_t(end - begin), 0) {
    if (end - begin <= 2)
        oneGroup();
    else
        split(rows, order, fs, buffers, progress);
}

void RunGroups::oneGroup() {
    m_members.emplace_back();
    for (qint32 i = m_begin; i < m_end; ++i) m_members[0].push_back(i);
}

void RunGroups::split(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
                      FileSystem& fs, CompareBuffers& buffers, Progress& progress) {
    const auto entry = [&](qint32 place) -> const FileEntry& { return rows[size_t(order[size_t(place)])]; };
    const qint64 size = entry(m_begin).size;
    struct Work {
        std::vector<Member> members;
        size_t piece;
        qint64 offset;
    };
    std::vector<Work> stack;
    {
        Work all{{}, 0, 0};
        for (qint32 i = m_begin; i < m_end; ++i) all.members.push_back(Member{i, {}, 0});
        stack.push_back(std::move(all));
    }
    const auto settle = [&](std::vector<Member>& members) {
        const int g = int(m_members.size());
        m_members.emplace_back();
        for (const Member& m : members) {
            m_group[size_t(m.index - m_begin)] = g;
            m_members.back().push_back(m.index);
        }
        std::sort(m_members.back().begin(), m_members.back().end());
    };
    while (!stack.empty()) {
        Work work = std::move(stack.back());
        stack.pop_back();
        std::vector<Member> read;
        for (Member& m : work.members) {
            progress.BlinkStep();
            if ((m_stopped = progress.stopRequested())) return;
            switch (readPiece(entry(m.index), m, work.piece, work.offset, fs, buffers)) {
                case Seen::Read:
                    read.push_back(m);
                    break;
                case Seen::Unreadable:
                    m_group[size_t(m.index - m_begin)] = kUnreadable;
                    m_unreadable.push_back(m.index);
                    break;
                case Seen::NeverIdentical: {
                    std::vector<Member> alone{m};
                    settle(alone);
                    break;
                }
            }
        }
        std::sort(read.begin(), read.end(),
                  [](const Member& a, const Member& b) { return a.digest < b.digest; });
        const qint64 next = work.offset + digestPieceLength(work.piece);
        for (auto from = read.begin(); from != read.end();) {
            const auto to = std::find_if(from, read.end(),
                                         [&](const Member& m) { return m.digest != from->digest; });
            std::vector<Member> same(from, to);
            // Two members are compared directly; deeper digests would only
            // read both once more.
            if (same.size() > 2 && next < size)
                stack.push_back(Work{std::move(same), work.piece + 1, next});
            else
                settle(same);
            from = to;
        }
    }
    std::sort(m_unreadable.begin(), m_unreadable.end());
}

}  // namespace quillo
