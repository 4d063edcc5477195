#include "dedup/rungroups.h"

#include <xxhash.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>

#include "dedup/sharedreads.h"

namespace quillo {

namespace {

// What reading one member at one depth gave.
enum class Seen { Read, Unreadable, NeverIdentical };

struct Member {
    qint32 index;
    FileInfo state;      // as first opened
    quint64 digest = 0;  // of the piece read last
    // Kept open from one piece to the next while the descriptors last.
    std::shared_ptr<InputFile> file;
};

// Keeps at most kHeldFiles members' files open between pieces; the others
// are opened again for each piece. Readers on two threads share it.
class OpenFiles {
  public:
    std::shared_ptr<InputFile> keep(std::unique_ptr<InputFile> file) {
        if (m_open.fetch_add(1) >= kHeldFiles) {
            --m_open;
            return nullptr;
        }
        return std::shared_ptr<InputFile>(file.release(), [this](InputFile* f) {
            --m_open;
            delete f;
        });
    }

  private:
    static constexpr int kHeldFiles = 256;
    std::atomic<int> m_open{0};
};

// Reads the piece of the file. A file read in one piece is read with one byte
// more than its recorded size, which shows one that has grown; a longer file
// is checked once, at its first open, to be the regular file collected. A
// digest only ever spares comparisons, so a file changed since collection can
// cost a comparison, never a wrong removal: the comparison checks everything
// again. The open does not wait on a pipe left where a file was. A file read
// whole leaves its bytes at keep, where given.
Seen readPiece(const FileEntry& e, Member& m, size_t k, Piece piece, FolderHandle* folder,
               OpenFiles& open, CompareBuffers& buffers, char* keep) {
    std::unique_ptr<InputFile> fresh;
    InputFile* file = m.file.get();
    if (!file) {
        if (!folder) return Seen::Unreadable;
        Result<std::unique_ptr<InputFile>> opened = folder->openRead(e.name);
        if (!opened) return Seen::Unreadable;
        fresh = std::move(opened.value());
        file = fresh.get();
    }
    const bool onePiece = k == 0 && piece.length == e.size;
    if (!onePiece) {
        if (k == 0) {
            const Result<FileInfo> now = file->info();
            if (!now) return Seen::Unreadable;
            m.state = now.value();
            const bool collected = e.id == FileId{} || now->id() == e.id;
            if (now->type != EntryType::File || now->size != e.size || !collected)
                return Seen::NeverIdentical;
            file->expect(ReadAhead::Piece);
        } else if (fresh) {
            // Opened again: it must still be the file first opened.
            const Result<FileInfo> now = fresh->info();
            if (!now) return Seen::Unreadable;
            if (!sameState(now.value(), m.state)) return Seen::NeverIdentical;
            fresh->expect(ReadAhead::Piece);
        }
        if (piece.offset > 0 && !file->seek(piece.offset)) return Seen::Unreadable;
    }
    // Reads until the piece is in: one read for a whole small file.
    const qint64 room = onePiece ? piece.length + 1 : piece.length;
    char* data = buffers.get(0, room);
    qint64 got = 0;
    while (got < piece.length) {
        const Result<qint64> r = file->read(data + got, room - got);
        if (!r) return Seen::Unreadable;
        if (r.value() == 0) break;
        got += r.value();
    }
    if (got != piece.length) return Seen::NeverIdentical;
    m.digest = XXH3_64bits(data, size_t(piece.length));
    if (onePiece && keep) std::memcpy(keep, data, size_t(piece.length));
    if (fresh && !onePiece) m.file = open.keep(std::move(fresh));
    return Seen::Read;
}

// Reads one piece of every member of a group, a long group on several
// threads. Only the calling thread reports progress and hears a stop.
class PieceReader {
  public:
    using Entry = std::function<const FileEntry&(qint32)>;
    PieceReader(Entry entry, FolderCache& folders, CompareBuffers& buffers, Progress& progress)
        : m_entry(std::move(entry)), m_folders(folders), m_buffers(buffers), m_progress(progress) {}

    // Fills seen by member; false when the user asked to stop. keep(index) is
    // where a member read whole leaves its bytes, or null.
    bool read(std::vector<Member>& members, size_t k, Piece piece, std::vector<Seen>& seen,
              const std::function<char*(qint32)>& keep);

  private:
    Entry m_entry;
    FolderCache& m_folders;
    CompareBuffers& m_buffers;
    Progress& m_progress;
    OpenFiles m_open;
    SharedReads m_shared{64};
};

bool PieceReader::read(std::vector<Member>& members, size_t k, Piece piece, std::vector<Seen>& seen,
                       const std::function<char*(qint32)>& keep) {
    const size_t n = members.size();
    seen.assign(n, Seen::Unreadable);
    // The held folders come from this thread's cache; helpers only open inside them.
    std::vector<std::shared_ptr<FolderHandle>> folders(n);
    for (size_t x = 0; x < n; ++x) {
        if (members[x].file) continue;
        const Result<CachedFolder> held = m_folders.folder(m_entry(members[x].index).dir.text());
        if (held) folders[x] = held->handle;
    }
    const auto goOn = [&] {
        m_progress.BlinkStep();
        return !m_progress.stopRequested();
    };
    return m_shared.run(n, m_buffers, goOn, [&](size_t x, CompareBuffers& buffers) {
        Member& m = members[x];
        seen[x] = readPiece(m_entry(m.index), m, k, piece, folders[x].get(), m_open, buffers,
                            keep(m.index));
    });
}

}  // namespace

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
        return m_bytes ? m_bytes.get() + (place - m_begin) * size : nullptr;
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
