#pragma once
// The folders a pass reads from and removes in, held open: each file is then
// opened by its name inside its folder, and the kernel does not walk the whole
// path again for every piece or pair.

#include <QHash>
#include <QString>
#include <memory>

#include "collect/filetable.h"
#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// A held folder, which it is, and whether it is one a reference collection
// walked (a held folder stays the folder it was, so both are looked at once).
struct CachedFolder {
    std::shared_ptr<FolderHandle> handle;
    FileId id;
    bool holdsReferences = false;
};

class FolderCache {
  public:
    FolderCache(FileSystem& fs, const ReferenceGuard& guard);

    // The held folder (dir ends with the separator), or why it cannot be held.
    // The handle stays valid while the caller keeps it, however many folders
    // are held after it.
    Result<CachedFolder> folder(const QString& dir);
    // The same, as long as dir still leads to the held folder; held anew when
    // it does not (renamed, or another folder put in its place), so that what
    // a removal records as a file's place is where the file was.
    Result<CachedFolder> current(const QString& dir);
    // Opens dir + name for reading inside the held folder.
    Result<std::unique_ptr<InputFile>> openRead(const QString& dir, const QString& name);

  private:
    FileSystem& m_fs;
    const ReferenceGuard& m_guard;
    // Every folder of a large collection where the descriptor limit allows:
    // one run of equal sizes spreads over most of them.
    const int m_room;
    QHash<QString, CachedFolder> m_held;
};

}  // namespace quillo
