#pragma once
// Reading one digest piece of every member of a group of equal-size files,
// for the grouping of a run (rungroups.h).

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "collect/filetable.h"
#include "core/progress.h"
#include "dedup/comparebuffers.h"
#include "dedup/foldercache.h"
#include "dedup/sharedreads.h"
#include "platform/filesystem.h"

namespace quillo {

// What reading one member at one depth gave.
enum class Seen { Read, Unreadable, NeverIdentical };

// An entry of a run being grouped, and what reading it has given so far.
struct Member {
    qint32 index;        // its place
    FileInfo state;      // as first opened
    quint64 digest = 0;  // of the piece read last
    // Kept open from one piece to the next while the descriptors last.
    std::shared_ptr<InputFile> file;
};

// Keeps at most kHeldFiles members' files open between pieces; the others
// are opened again for each piece. Readers on several threads share it.
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

}  // namespace quillo
