#pragma once
// The file-system operations the logic uses. Tests replace or wrap the real
// implementation to produce failures that root would never see.

#include <QByteArray>
#include <QString>
#include <compare>
#include <memory>
#include <vector>

#include "core/filestate.h"
#include "core/paths.h"
#include "core/result.h"
#include "platform/recordfile.h"

namespace quillo {

enum class EntryType { File, Directory, Symlink, Other, Unknown };

struct DirEntry {
    QString name;
    EntryType type = EntryType::Unknown;  // Unknown where the file system gives no type
    // Left out of what the user browses and collects, as the system's own file
    // manager hides it: a leading dot on Linux, the hidden or system attribute
    // on Windows.
    bool hidden = false;
};

struct Listing {
    std::vector<DirEntry> entries;  // without "." and ".."
    int undecodable = 0;            // names that could not be decoded to text, left out
};

struct FileInfo {
    EntryType type = EntryType::Unknown;  // of the entry itself: links are not followed
    qint64 size = 0;
    qint64 mtimeNs = 0;  // last modification, nanoseconds since the epoch
    quint64 device = 0;
    quint64 inode = 0;
    FileId id() const { return {device, inode}; }
    FileState state() const { return {id(), size, mtimeNs}; }
};

// True when both describe the same file on disk (device and inode).
inline bool sameFile(const FileInfo& a, const FileInfo& b) {
    return a.id() == b.id();
}

// True when both describe the same file with the same contents as far as its
// size and modification time tell: what a record of a file (which keeps no
// type) can be checked against.
inline bool sameRecordedState(const FileInfo& a, const FileInfo& b) {
    return a.state() == b.state();
}

// True when info is a regular file in the state a plan saw.
inline bool isAsPlanned(const FileInfo& info, const FileState& planned) {
    return info.type == EntryType::File && info.state() == planned;
}

// True when both describe the same file in the same state: same device and
// inode, type, size and modification time.
inline bool sameState(const FileInfo& a, const FileInfo& b) {
    return a.type == b.type && sameRecordedState(a, b);
}

// How a file is about to be read, so that the system reads ahead no more
// than that: a digest's piece of a file that may differ after it, or the
// whole of it from here on.
enum class ReadAhead { Piece, Whole };

// A file opened for reading; closed when destroyed.
class InputFile {
  public:
    virtual ~InputFile() = default;
    // What the open file is now (fstat).
    virtual Result<FileInfo> info() = 0;
    // Reads up to max bytes; 0 at the end of the file.
    virtual Result<qint64> read(char* buffer, qint64 max) = 0;
    // Moves the read position to offset bytes from the start.
    virtual Status seek(qint64 offset) = 0;
    // Advice only: how the next reads go.
    virtual void expect(ReadAhead how) = 0;
};

// A folder held open, so that what is looked at and what is done happen in
// the same folder: if a folder on the path is swapped or replaced by a link
// after the folder was held, the held one is still the one acted on. Names
// are single entries of the folder, never paths.
class FolderHandle {
  public:
    virtual ~FolderHandle() = default;
    // The system's own handle of the folder: this one, or the one a wrapper
    // (a test's) hands every call on to.
    virtual FolderHandle& held() { return *this; }
    // What the held folder itself is (its device and inode).
    virtual Result<FileInfo> self() = 0;
    // What is at name inside the folder, without following a final link.
    virtual Result<FileInfo> info(const QString& name) = 0;
    // Opens name for reading, never following a final link and never waiting.
    virtual Result<std::unique_ptr<InputFile>> openRead(const QString& name) = 0;
    // Deletes the file name (53 when missing).
    virtual Status remove(const QString& name) = 0;
    // Renames name without ever replacing an existing file, with the codes of
    // FileSystem::rename. A to without a separator is a new name in this same
    // folder; otherwise it is the absolute path the file moves to.
    virtual Status rename(const QString& name, const QString& to) = 0;

    // Holds the folder name inside this one (".." the one above it), never
    // through a link: a link or anything but a folder there is refused (75).
    virtual Result<std::unique_ptr<FolderHandle>> openFolder(const QString& name) = 0;
    // Creates the folder name inside this one, that only its owner may enter
    // (58 when something is there).
    virtual Status makeFolder(const QString& name) = 0;
    // Creates the new file name holding bytes, readable by its owner only;
    // never opens what is there (58). A file not written in full is removed.
    virtual Status createFile(const QString& name, const QByteArray& bytes) = 0;
    // Moves name into the held folder to as newName, never replacing anything,
    // with the codes of rename: both ends are the held folders, whatever
    // happened to their paths meanwhile.
    virtual Status moveInto(const QString& name, FolderHandle& to, const QString& newName) = 0;
    // Where the held folder is now, as an absolute path.
    virtual Result<QString> path() = 0;
};

// A lock on a file against other processes, held until destroyed; the system
// drops it when the process ends, however it ends.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The entries of a folder, in the order the file system gives them.
    virtual Result<Listing> list(const QString& folder) = 0;

    // What is at path, without following a final symbolic link.
    virtual Result<FileInfo> info(const QString& path) = 0;

    // The absolute path of an existing folder with every link, ".", ".." and
    // doubled separator resolved.
    virtual Result<QString> canonicalFolder(const QString& folder) = 0;

    // Holds a folder for looking at and acting on its entries (76 when missing).
    virtual Result<std::unique_ptr<FolderHandle>> openFolder(const QString& folder) = 0;

    // Opens an existing file for reading; never creates one (53 when missing)
    // and never waits (a pipe opens at once).
    virtual Result<std::unique_ptr<InputFile>> openRead(const QString& path) = 0;

    // Deletes a file (53 when missing).
    virtual Status remove(const QString& path) = 0;

    // Renames or moves a file without ever replacing an existing one:
    // 58 when to exists, 53 when from is missing, 76 when the destination
    // folder is missing, 74 across file systems.
    virtual Status rename(const QString& from, const QString& to) = 0;

    // The mount points of the machine's volumes, longest first is not implied.
    virtual std::vector<QString> volumes() = 0;

    // Creates one folder that only its owner may enter (58 when something
    // exists at path, 76 when the folder holding it is missing).
    virtual Status makeFolder(const QString& path) = 0;

    // Creates a new file holding bytes, readable by its owner only; never
    // opens an existing file or link (58 when something exists at path). A
    // file that cannot be written in full is removed again.
    virtual Status createFile(const QString& path, const QByteArray& bytes) = 0;

    // Creates a new record file, readable by its owner only, and locks it
    // against other processes until it is closed (58 when path exists, 76
    // when its folder is missing).
    virtual Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) = 0;
    // Opens an existing record file (never through a link) for changes in
    // place, locked like a new one; 70 at once while another process holds it.
    virtual Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) = 0;
    // Locks the file at path, creating it empty where missing; waits while
    // another process holds it.
    virtual Result<std::unique_ptr<FileLock>> lockFile(const QString& path) = 0;
};

// The real file system of this machine.
FileSystem& systemFileSystem();

// Makes path, owner-only, and the missing folders above it; a folder that is
// there already counts as made (something else there fails with 58 later).
Status makeFolders(FileSystem& fs, const QString& path);

// A name as bytes for the kernel and back; decodeName fails for bytes that are
// not valid text in the locale's encoding. A text holding NUL reaches no
// kernel call (it would be cut there): every operation fails with 52 instead.
QByteArray encodeName(const QString& name);
bool decodeName(const char* bytes, qsizetype length, QString* out);

}  // namespace quillo
