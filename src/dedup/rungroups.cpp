#include "dedup/rungroups.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "dedup/piecereader.h"

namespace quillo {

RunGroups::RunGroups(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
                     qint32 begin, qint32 end, FolderCache& folders, CompareBuffers& buffers,
                     Progress& progress)
    : m_begin(begin), m_end(end), m_group(size_t(end - begin), 0) {
    if (end - begin <= 2)
        oneGroup();
    else
        split(rows, order, folders, buffers, progress);
}

void RunGroups::oneGroup() {
    m_members.emplace_back();
    for (qint32 i = m_begin; i < m_end; ++i) m_members[0].push_back(i);
}

void RunGroups::split(const std::vector<FileEntry>& rows, const std::vector<qint32>& order,
                      FolderCache& folders, CompareBuffers& buffers, Progress& progress) {
    const auto entry = [&](qint32 place) -> const FileEntry& {
        return rows[size_t(order[size_t(place)])];
    };
    const qint64 size = m_size = entry(m_begin).size;
    struct Work {
        std::vector<Member> members;
        size_t piece;
        qint64 front;  // bytes from the start read so far
    };
    PieceReader reader(entry, folders, buffers, progress);
    std::vector<Seen> seen;
    // Small files read whole keep their bytes for the pair loop, which then
    // opens none of them again; at most kKeptBytes a run.
    const qint64 count = m_end - m_begin;
    if (size <= kFirstPiece && size * count <= kKeptBytes) {
        m_bytes = std::make_unique_for_overwrite<char[]>(size_t(size * count));
        m_whole.assign(size_t(count), false);
    }
    const std::function<char*(qint32)> keep = [&](qint32 place) -> char* {
        return m_bytes ? slot(place) : nullptr;
    };
    std::vector<Work> stack;
    {
        Work all{{}, 0, 0};
        for (qint32 i = m_begin; i < m_end; ++i) all.members.push_back(Member{i, {}, 0, nullptr});
        stack.push_back(std::move(all));
    }
    const auto settle = [&](std::vector<Member>& members) {
        const int g = int(m_members.size());
        m_members.emplace_back();
        for (Member& m : members) {
            m_group[size_t(m.index - m_begin)] = g;
            m_members.back().push_back(m.index);
            m.file.reset();
        }
        std::sort(m_members.back().begin(), m_members.back().end());
    };
    while (!stack.empty()) {
        Work work = std::move(stack.back());
        stack.pop_back();
        const Piece piece = digestPiece(work.piece, size, work.front);
        if ((m_stopped = !reader.read(work.members, work.piece, piece, seen, keep))) return;
        std::vector<Member> read;
        for (size_t x = 0; x < work.members.size(); ++x) {
            Member& m = work.members[x];
            switch (seen[x]) {
                case Seen::Read:
                    if (keep(m.index)) m_whole[size_t(m.index - m_begin)] = true;
                    read.push_back(m);
                    break;
                case Seen::Unreadable:
                    m.file.reset();
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
        work.members.clear();  // what was read lives on in read
        const bool deeper = unreadAfter(work.piece, piece, size, work.front);
        const qint64 front = frontAfter(work.piece, piece, work.front);
        for (auto from = read.begin(); from != read.end();) {
            const auto to = std::find_if(from, read.end(),
                                         [&](const Member& m) { return m.digest != from->digest; });
            std::vector<Member> same(from, to);
            // Two members are compared directly; deeper digests would only
            // read both once more.
            if (same.size() > 2 && deeper)
                stack.push_back(Work{std::move(same), work.piece + 1, front});
            else
                settle(same);
            from = to;
        }
    }
    std::sort(m_unreadable.begin(), m_unreadable.end());
}

}  // namespace quillo
