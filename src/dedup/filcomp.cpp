// The comparison of two files of equal recorded size and the removal of the
// second when they are identical.
#include <cstring>
#include <optional>

#include "core/failure.h"
#include "core/paths.h"
#include "dedup/comparebuffers.h"
#include "dedup/duplicatepass.h"
#include "journal/runjournal.h"
#include "trash/trashcan.h"

namespace quillo {

namespace {

// Only a regular file holding exactly size bytes can be a duplicate; the same
// file reached by two paths is never a duplicate of itself.
bool candidate(const FileInfo& a, const FileInfo& b, qint64 size) {
    return a.type == EntryType::File && b.type == EntryType::File && a.size == size &&
           b.size == size && !sameFile(a, b);
}

// A failure and the file it concerns.
struct Failed {
    Failure failure;
    QString path;
};

struct OpenPair {
    std::unique_ptr<InputFile> file1, file2;
    FileInfo info1, info2;
};

// The first file is only read, by its path; the second, which may be
// removed, is looked at, read and removed inside its one held folder.
class Comparison {
  public:
    Comparison(const QString& path1, FolderHandle& folder2, const QString& name2,
               const QString& path2, qint64 size, FileSystem& fs)
        : m_path{path1, path2}, m_name2(name2), m_folder2(folder2), m_size(size), m_fs(fs) {}

    // Opens both files, the first first; nullopt when plainly different.
    std::optional<Failed> open(std::optional<OpenPair>& pair) {
        // Looking first keeps a special file (a pipe left where a file was) from
        // blocking the open, and spares reading files that cannot match.
        FileInfo seen[2];
        for (int k = 0; k < 2; ++k) {
            Result<FileInfo> info = look(k);
            if (!info) return Failed{info.failure(), m_path[k]};
            seen[k] = info.value();
        }
        if (!candidate(seen[0], seen[1], m_size)) return std::nullopt;
        OpenPair p;
        std::unique_ptr<InputFile>* files[2] = {&p.file1, &p.file2};
        FileInfo* infos[2] = {&p.info1, &p.info2};
        for (int k = 0; k < 2; ++k) {
            auto f = k == 0 ? m_fs.openRead(m_path[0]) : m_folder2.openRead(m_name2);
            if (!f) return Failed{f.failure(), m_path[k]};
            *files[k] = std::move(f.value());
        }
        // What was opened is what counts: a path may have been swapped since the look.
        for (int k = 0; k < 2; ++k) {
            Result<FileInfo> i = (*files[k])->info();
            if (!i) return Failed{i.failure(), m_path[k]};
            *infos[k] = i.value();
        }
        if (candidate(p.info1, p.info2, m_size)) pair = std::move(p);
        return std::nullopt;
    }

    // Compares the open files piece by piece, stopping at the first difference.
    // Identical only when neither holds more than the recorded size.
    Result<bool> same(OpenPair& pair, CompareBuffers& buffers, QString& failedPath) {
        InputFile* files[2] = {pair.file1.get(), pair.file2.get()};
        for (qint64 done = 0; done < m_size;) {
            const qint64 want = std::min(kCompareChunk, m_size - done);
            char* data[2] = {buffers.get(0, want), buffers.get(1, want)};
            for (int k = 0; k < 2; ++k) {
                Result<qint64> got = readFully(*files[k], data[k], want);
                if (!got) {
                    failedPath = m_path[k];
                    return got.failure();
                }
                if (got.value() != want) return false;
            }
            if (std::memcmp(data[0], data[1], size_t(want)) != 0) return false;
            done += want;
        }
        for (int k = 0; k < 2; ++k) {
            char extra = 0;
            Result<qint64> more = files[k]->read(&extra, 1);
            if (!more) {
                failedPath = m_path[k];
                return more.failure();
            }
            if (more.value() != 0) return false;
        }
        return true;
    }

    // Both files are still exactly as they were compared.
    bool unchangedSince(const OpenPair& pair) {
        Result<FileInfo> now2 = look(1);
        if (!now2 || !sameState(now2.value(), pair.info2)) return false;
        Result<FileInfo> now1 = look(0);
        return now1 && sameState(now1.value(), pair.info1);
    }

  private:
    Result<FileInfo> look(int k) { return k == 0 ? m_fs.info(m_path[0]) : m_folder2.info(m_name2); }

    QString m_path[2];
    QString m_name2;
    FolderHandle& m_folder2;
    qint64 m_size;
    FileSystem& m_fs;
};

// How an identical second file leaves: into the delete folder when the box
// is ticked, else into its file system's trash; without a usable trash as
// the user answered, once per run.
enum class WayOut { DeleteFolder, Trash, Delete, Ask, Keep };

struct Exit {
    WayOut way = WayOut::Delete;
    TrashBin* bin = nullptr;  // for Trash
};

// Whether the trash could not be looked for is the file's own trouble (its
// folder gone, say), not a sign that its drive has no trash.
Result<Exit> wayOut(const DedupOptions& options, RemovalTools* tools, FolderHandle& folder) {
    if (options.chkDelete == CheckValue::On) return Exit{WayOut::DeleteFolder};
    if (!tools || !tools->trash) return Exit{WayOut::Delete};
    const Result<TrashBin*> bin = tools->trash->binFor(folder);
    if (!bin) return bin.failure();
    if (bin.value()) return Exit{WayOut::Trash, bin.value()};
    if (!tools->deleteWithoutTrash) return Exit{WayOut::Ask};
    return Exit{*tools->deleteWithoutTrash ? WayOut::Delete : WayOut::Keep};
}

// Tries for a free trash name when other programs keep taking the one found.
constexpr int kTrashTries = 8;

// Moves name out of folder into the trash: written down first, then its
// record, then the move. A run killed between the record and the move
// leaves a pending row, which later settles the record.
Status trashRecorded(TrashCan& trash, TrashBin& bin, FolderHandle& folder, const QString& name,
                     JournalRow& row, RunJournal* journal) {
    Status moved;
    for (int tries = 0; tries < kTrashTries; ++tries) {
        const Result<TrashSlot> slot = trash.freeSlot(bin, name);
        if (!slot) return slot.failure();
        row.op = JournalOp::Trash;
        row.newPath = slot->filePath;
        moved = recorded(journal, row, [&] {
            if (const Status written = trash.writeRecord(slot.value(), row.oldPath); !written)
                return written;
            const Status in = trash.moveIn(folder, name, slot.value());
            if (!in) (void)trash.release(slot.value());
            return in;
        });
        // Another program took the name between the look and the record.
        if (moved || moved.failure().code != code::FileExists || !moved.failure().path.isEmpty())
            return moved;
    }
    return moved;
}

}  // namespace

PairResult FilComp(const FileEntry& first, FileEntry& second, const DedupOptions& options,
                   const ReferenceGuard& guard, qint32& DupCount, FileSystem& fs,
                   CompareBuffers* buffers, RemovalTools* tools) {
    CompareBuffers local;
    CompareBuffers& scratch = buffers ? *buffers : local;
    const QString path1 = first.path();
    const QString path2 = second.path();
    PairResult result;
    Result<std::unique_ptr<FolderHandle>> folder2 = fs.openFolder(second.dir);
    if (!folder2) {
        result.status = folder2.failure();
        result.failedPath = path2;
        return result;
    }
    // A folder on the way may have been swapped for a reference folder (or a
    // link to one) since the collection: nothing in such a folder is touched.
    if (guard.holdsReferences(*folder2.value())) {
        result.kept = true;
        return result;
    }
    Comparison comparison(path1, *folder2.value(), second.name, path2, second.size, fs);

    std::optional<OpenPair> pair;
    if (std::optional<Failed> failed = comparison.open(pair)) {
        result.status = failed->failure;
        result.failedPath = failed->path;
        return result;
    }
    if (!pair) return result;
    Result<bool> same = comparison.same(*pair, scratch, result.failedPath);
    if (!same) {
        result.status = same.failure();
        return result;
    }
    // Another program may have changed either file since it was read; and a
    // reference file stays, whatever path names it.
    if (!same.value() || !comparison.unchangedSince(*pair)) return result;
    if (guard.isReference(pair->info2.id())) {
        result.kept = true;
        return result;
    }
    const FileInfo before = pair->info2;
    pair.reset();

    result.identical = true;
    JournalRow row;
    row.oldPath = path2;
    row.keptPath = path1;
    row.before = before;
    RunJournal* journal = tools ? tools->journal : nullptr;
    FolderHandle& folder = *folder2.value();
    const auto moveTo = [&](JournalOp op, const Result<QString>& to) {
        row.op = op;
        if (!to) return Status(to.failure());
        row.newPath = to.value();
        return recorded(journal, row, [&] { return folder.rename(second.name, row.newPath); });
    };
    const Result<Exit> exit = wayOut(options, tools, folder);
    if (!exit) {
        result.status = exit.failure();
        result.failedPath = path2;
        return result;
    }
    Status removed;
    switch (exit->way) {
        case WayOut::DeleteFolder: {
            const Result<QString> into = destinationPrefix(options.deleteFolder);
            removed =
                moveTo(JournalOp::Move, into ? Result<QString>(into.value() + second.name) : into);
            break;
        }
        case WayOut::Trash:
            removed = trashRecorded(*tools->trash, *exit->bin, folder, second.name, row, journal);
            break;
        case WayOut::Ask:
            result.needsTrashAnswer = true;
            return result;
        case WayOut::Keep:
            result.leftWithoutTrash = true;
            return result;
        case WayOut::Delete:
            row.op = JournalOp::Delete;
            removed = recorded(journal, row, [&] { return folder.remove(second.name); });
            break;
    }
    if (!removed) {
        result.status = removed;
        result.failedPath = path2;
        return result;
    }
    ++DupCount;
    second.dir.clear();
    second.name.clear();
    return result;
}

}  // namespace quillo
