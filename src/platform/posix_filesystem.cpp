// The file system of a POSIX machine (Linux): chosen by CMake.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStorageInfo>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/failure.h"
#include "platform/filesystem.h"
#include "platform/posix_errno.h"
#include "platform/posix_recordfile.h"
#include "platform/posixaccess.h"

namespace quillo {

namespace {

EntryType typeFromMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryType::File;
    if (S_ISDIR(mode)) return EntryType::Directory;
    if (S_ISLNK(mode)) return EntryType::Symlink;
    return EntryType::Other;
}

EntryType typeFromDirent(unsigned char t) {
    switch (t) {
        case DT_REG:
            return EntryType::File;
        case DT_DIR:
            return EntryType::Directory;
        case DT_LNK:
            return EntryType::Symlink;
        case DT_UNKNOWN:
            return EntryType::Unknown;
        default:
            return EntryType::Other;
    }
}

FileInfo infoFromStat(const struct stat& st) {
    FileInfo info;
    info.type = typeFromMode(st.st_mode);
    info.size = st.st_size;
    info.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    info.device = st.st_dev;
    info.inode = st.st_ino;
    return info;
}

// A missing folder is "path not found", not "file not found".
Failure folderFailure(int err) {
    return err == ENOENT ? makeFailure(code::PathNotFound) : failureFromErrno(err);
}

// A path or name as the kernel gets it. A NUL would cut it short, so that
// "/a/b\0c" would name "/a/b": such a text is a bad file name instead.
class KernelName {
  public:
    explicit KernelName(const QString& text) : m_bad(text.contains(QChar(u'\0'))) {
        if (!m_bad) m_bytes = encodeName(text);
    }
    explicit operator bool() const { return !m_bad; }
    const char* c_str() const { return m_bytes.constData(); }
    static Failure failure() { return makeFailure(code::BadFileName); }

  private:
    bool m_bad;
    QByteArray m_bytes;
};

// Opens name inside folder fd (AT_FDCWD: a path) for reading. Non-blocking:
// opening a pipe left where a file was must not wait for a writer; reads of
// regular files are not affected.
Result<std::unique_ptr<InputFile>> openInput(int fd, const KernelName& name, int flags);

// Renames from (in folder fromFd) to to (in folder toFd) without ever
// replacing an existing file.
Status renameNoReplace(int fromFd, const KernelName& from, int toFd, const KernelName& to) {
    int err = 0;
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    err = errno;
    if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
        // The file system refuses the flag: link then unlink never replaces either.
        if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) == 0) {
            if (::unlinkat(fromFd, from.c_str(), 0) == 0) return {};
            err = errno;
            ::unlinkat(toFd, to.c_str(), 0);
        } else {
            err = errno;
        }
    }
    if (err == ENOENT) {
        // Either side may be missing: the source is "file not found", the
        // destination folder "path not found".
        struct stat st;
        if (::fstatat(fromFd, from.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return makeFailure(code::FileNotFound);
        return makeFailure(code::PathNotFound);
    }
    if (err == ENOTDIR) return makeFailure(code::PathNotFound);
    return failureFromErrno(err);
}

class PosixInputFile final : public InputFile {
  public:
    explicit PosixInputFile(int fd) : m_fd(fd) {}
    ~PosixInputFile() override { ::close(m_fd); }
    PosixInputFile(const PosixInputFile&) = delete;
    PosixInputFile& operator=(const PosixInputFile&) = delete;

    Result<FileInfo> info() override {
        struct stat st;
        if (::fstat(m_fd, &st) != 0) return failureFromErrno(errno);
        return infoFromStat(st);
    }

    Result<qint64> read(char* buffer, qint64 max) override {
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, size_t(max));
            if (got >= 0) return qint64(got);
            if (errno != EINTR)
                return errno == EISDIR ? makeFailure(code::PathFileAccess) : readFailure(errno);
        }
    }

    Status seek(qint64 offset) override {
        if (::lseek(m_fd, off_t(offset), SEEK_SET) < 0) return readFailure(errno);
        return {};
    }

    // A digest's piece is read by its own read call, whole: readahead beyond
    // it would fetch from the disk what is mostly never looked at.
    void expect(ReadAhead how) override {
        (void)::posix_fadvise(m_fd, 0, 0,
                              how == ReadAhead::Piece ? POSIX_FADV_RANDOM : POSIX_FADV_SEQUENTIAL);
    }

  private:
    int m_fd;
};

Result<std::unique_ptr<InputFile>> openInput(int fd, const KernelName& name, int flags) {
    if (!name) return KernelName::failure();
    const int file =
        ::openat(fd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | flags);
    if (file < 0) return readFailure(errno);
    return std::unique_ptr<InputFile>(std::make_unique<PosixInputFile>(file));
}

// Entries are looked up relative to the open folder: the kernel does not walk
// every component of the path again for each file.
class PosixFolderHandle final : public FolderHandle {
  public:
    explicit PosixFolderHandle(int fd) : m_fd(fd) {}
    ~PosixFolderHandle() override { ::close(m_fd); }
    PosixFolderHandle(const PosixFolderHandle&) = delete;
    PosixFolderHandle& operator=(const PosixFolderHandle&) = delete;

    int fd() const { return m_fd; }

    Result<FileInfo> self() override {
        struct stat st;
        if (::fstat(m_fd, &st) != 0) return failureFromErrno(errno);
        return infoFromStat(st);
    }

    Result<FileInfo> info(const QString& name) override {
        const KernelName n(name);
        if (!n) return n.failure();
        struct stat st;
        if (::fstatat(m_fd, n.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return failureFromErrno(errno);
        return infoFromStat(st);
    }

    Result<std::unique_ptr<InputFile>> openRead(const QString& name) override {
        return openInput(m_fd, KernelName(name), O_NOFOLLOW);
    }

    Status remove(const QString& name) override {
        const KernelName n(name);
        if (!n) return n.failure();
        if (::unlinkat(m_fd, n.c_str(), 0) != 0) return failureFromErrno(errno);
        return {};
    }

    Status rename(const QString& name, const QString& to) override {
        const KernelName from(name), dest(to);
        if (!from || !dest) return KernelName::failure();
        return renameNoReplace(m_fd, from, to.contains(kSeparator) ? AT_FDCWD : m_fd, dest);
    }

    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& name) override {
        const KernelName n(name);
        if (!n) return n.failure();
        return holdFolder(m_fd, n, O_NOFOLLOW);
    }

    Status makeFolder(const QString& name) override {
        const KernelName n(name);
        if (!n) return n.failure();
        if (::mkdirat(m_fd, n.c_str(), 0700) != 0) return folderFailure(errno);
        return {};
    }

    Status createFile(const QString& name, const QByteArray& bytes) override {
        const KernelName n(name);
        if (!n) return n.failure();
        return createNewFile(m_fd, n, bytes);
    }

    Status moveInto(const QString& name, FolderHandle& to, const QString& newName) override {
        auto* dest = dynamic_cast<PosixFolderHandle*>(&to.held());
        if (!dest) return makeFailure(code::PathFileAccess);
        const KernelName from(name), n(newName);
        if (!from || !n) return KernelName::failure();
        if (newName.contains(kSeparator)) return makeFailure(code::BadFileName);
        return renameNoReplace(m_fd, from, dest->m_fd, n);
    }

    Result<QString> path() override {
        // The kernel keeps the held folder's present path.
        char buffer[PATH_MAX];
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(m_fd);
        const ssize_t got = ::readlink(link.constData(), buffer, sizeof buffer);
        if (got < 0) return failureFromErrno(errno);
        if (got == ssize_t(sizeof buffer) || buffer[0] != '/')
            return makeFailure(code::PathFileAccess);  // cut short, or no longer in any folder
        QString text;
        if (!decodeName(buffer, got, &text)) return makeFailure(code::BadFileName);
        return text;
    }

    // Holds the folder name in folder fd (AT_FDCWD: a path).
    static Result<std::unique_ptr<FolderHandle>> holdFolder(int fd, const KernelName& name,
                                                            int flags) {
        const int held = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | flags);
        if (held >= 0)
            return std::unique_ptr<FolderHandle>(std::make_unique<PosixFolderHandle>(held));
        const int err = errno;
        // O_NOFOLLOW with O_PATH opens a final link itself; O_DIRECTORY then
        // refuses it as "not a folder". Either is no folder to hold.
        if (err == ENOTDIR || err == ELOOP) {
            struct stat st;
            if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                return makeFailure(code::PathFileAccess);
        }
        return folderFailure(err);
    }

    // Creates the new file name in folder fd holding bytes.
    static Status createNewFile(int fd, const KernelName& name, const QByteArray& bytes);

  private:
    int m_fd;
};

class PosixFileSystem final : public FileSystem {
  public:
    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& folder) override {
        const KernelName path(folder);
        if (!path) return path.failure();
        const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return folderFailure(errno);
        return std::unique_ptr<FolderHandle>(std::make_unique<PosixFolderHandle>(fd));
    }

    Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) override {
        return posix::createRecordFile(path);
    }

    Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) override {
        return posix::openRecordFile(path);
    }

    Result<std::unique_ptr<FileLock>> lockFile(const QString& path) override {
        return posix::lockFile(path);
    }

    Result<Listing> list(const QString& folder) override {
        const KernelName path(folder);
        if (!path) return path.failure();
        DIR* dir = ::opendir(path.c_str());
        if (!dir) return folderFailure(errno);
        Listing listing;
        errno = 0;
        while (const dirent* e = ::readdir(dir)) {
            const char* n = e->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
            DirEntry entry;
            if (!decodeName(n, qsizetype(std::strlen(n)), &entry.name)) {
                ++listing.undecodable;
                continue;
            }
            entry.type = typeFromDirent(e->d_type);
            entry.hidden = n[0] == '.';
            listing.entries.push_back(std::move(entry));
        }
        const int err = errno;
        ::closedir(dir);
        if (err != 0) return failureFromErrno(err);
        return listing;
    }

    Result<FileInfo> info(const QString& path) override {
        const KernelName name(path);
        if (!name) return name.failure();
        struct stat st;
        if (::lstat(name.c_str(), &st) != 0) return failureFromErrno(errno);
        return infoFromStat(st);
    }

    Result<QString> canonicalFolder(const QString& folder) override {
        const KernelName path(folder);
        if (!path) return path.failure();
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return folderFailure(errno);
        QString text;
        const bool decoded = decodeName(resolved, qsizetype(std::strlen(resolved)), &text);
        ::free(resolved);
        if (!decoded) return makeFailure(code::BadFileName);
        return text;
    }

    Result<std::unique_ptr<InputFile>> openRead(const QString& path) override {
        return openInput(AT_FDCWD, KernelName(path), 0);
    }

    Status remove(const QString& path) override {
        const KernelName name(path);
        if (!name) return name.failure();
        if (::unlink(name.c_str()) != 0) return failureFromErrno(errno);
        return {};
    }

    Status rename(const QString& from, const QString& to) override {
        const KernelName f(from), t(to);
        if (!f || !t) return KernelName::failure();
        return renameNoReplace(AT_FDCWD, f, AT_FDCWD, t);
    }

    std::vector<QString> volumes() override {
        std::vector<QString> roots;
        for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) roots.push_back(v.rootPath());
        return roots;
    }

    Status makeFolder(const QString& path) override {
        const KernelName name(path);
        if (!name) return name.failure();
        if (::mkdir(name.c_str(), 0700) != 0) return folderFailure(errno);
        return {};
    }

    Status createFile(const QString& path, const QByteArray& bytes) override {
        const KernelName name(path);
        if (!name) return name.failure();
        return PosixFolderHandle::createNewFile(AT_FDCWD, name, bytes);
    }
};

// 0 when every byte was written, else the errno of the write that failed.
int writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        done += put;
    }
    return 0;
}

Status PosixFolderHandle::createNewFile(int fd, const KernelName& name, const QByteArray& bytes) {
    const int file =
        ::openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) return folderFailure(errno);
    int err = writeAll(file, bytes);
    if (::close(file) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlinkat(fd, name.c_str(), 0);
        return failureFromErrno(err);
    }
    return {};
}

}  // namespace

FileSystem& systemFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

uint currentUserId() {
    return ::getuid();
}

Result<PosixAccess> posixAccess(FolderHandle& folder) {
    const auto* held = dynamic_cast<const PosixFolderHandle*>(&folder.held());
    if (!held) return makeFailure(code::PathFileAccess);
    struct stat st;
    if (::fstat(held->fd(), &st) != 0) return failureFromErrno(errno);
    return PosixAccess{uint(st.st_mode & 07777), uint(st.st_uid)};
}

}  // namespace quillo
