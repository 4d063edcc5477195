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

// Reads piece k (at offset) of the file. The first read looks before opening,
// so that a pipe cannot block the pass, and every read checks that the file
// is still the regular file of the recorded size first seen.
Seen readPiece(const FileEntry& e, Member& m, size_t k, qint64 offset, FileSystem& fs,
               CompareBuffers& buffers) {
    const QString path = e.path();
    if (k == 0) {
        const Result<FileInfo> seen = fs.info(path);
        if (!seen) return Seen::Unreadable;
        if (seen->type != EntryType::File || seen->size != e.size) return Seen::NeverIdentical;
    }
    auto file = fs.openRead(path);
    if (!file) return Seen::Unreadable;
    const Result<FileInfo> now = file.value()->info();
    if (!now) return Seen::Unreadable;
    if (k == 0) m.state = now.value();
    if (now->type != EntryType::File || now->size != e.size || now->id() != m.state.id() ||
        now->mtimeNs != m.state.mtimeNs)
        return Seen::NeverIdentical;
    if (offset > 0 && !file.value()->seek(offset)) return Seen::Unreadable;
    const qint64 want = std::min(digestPieceLength(k), e.size - offset);
    char* data = buffers.get(0, want);
    const Result<qint64> got = readFully(*file.value(), data, want);
    if (!got) return Seen::Unreadable;
    if (got.value() != want) return Seen::NeverIdentical;
    m.digest = XXH3_64bits(data, size_t(want));
    return Seen::Read;
}

}  // namespace

RunGroups::RunGroups(const std::vector<FileEntry>& rows, qint32 begin, qint32 end, FileSystem& fs,
                     CompareBuffers& buffers, Progress& progress)
    : m_begin(begin), m_end(end), m_group(size_t(end - begin), 0) {
    if (end - begin <= 2)
        oneGroup();
    else
        split(rows, fs, buffers, progress);
}

void RunGroups::oneGroup() {
    m_members.emplace_back();
    for (qint32 i = m_begin; i < m_end; ++i) m_members[0].push_back(i);
}

void RunGroups::split(const std::vector<FileEntry>& rows, FileSystem& fs, CompareBuffers& buffers,
                      Progress& progress) {
    const qint64 size = rows[size_t(m_begin)].size;
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
            switch (readPiece(rows[size_t(m.index)], m, work.piece, work.offset, fs, buffers)) {
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
