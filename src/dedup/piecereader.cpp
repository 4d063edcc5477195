#include "dedup/piecereader.h"

#include <xxhash.h>

#include <cstring>

namespace quillo {

namespace {

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

}  // namespace

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

}  // namespace quillo
