// The record file of a POSIX machine (Linux): a shared mapping of a file whose
// blocks are allocated before they are written.
#include "platform/posix_recordfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/failure.h"
#include "core/paths.h"
#include "platform/filesystem.h"
#include "platform/posix_errno.h"

namespace quillo::posix {

namespace {

constexpr qint64 kStep = qint64(1) << 20;      // the first capacity and its rounding
constexpr qint64 kMaxStep = qint64(64) << 20;  // growth stops doubling here

Failure createFailure(int err) {
    return err == ENOENT || err == ENOTDIR ? makeFailure(code::PathNotFound)
                                           : failureFromErrno(err);
}

// Locks fd against other processes: the lock goes with the open file, so the
// kernel drops it when the process dies.
Status lockFd(int fd, bool wait) {
    for (;;) {
        if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0) return {};
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? makeFailure(code::PermissionDenied) : failureFromErrno(errno);
    }
}

class PosixRecordFile final : public RecordFile {
  public:
    PosixRecordFile(int fd, int folderFd) : m_fd(fd), m_folderFd(folderFd) {}

    // Maps the size bytes the file holds already.
    Status mapExisting(qint64 size) {
        if (size == 0) return {};
        void* mapped = ::mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (mapped == MAP_FAILED) return failureFromErrno(errno);
        m_data = static_cast<char*>(mapped);
        m_capacity = size;
        return {};
    }
    ~PosixRecordFile() override { release(); }
    PosixRecordFile(const PosixRecordFile&) = delete;
    PosixRecordFile& operator=(const PosixRecordFile&) = delete;

    char* data() override { return m_data; }
    qint64 capacity() const override { return m_capacity; }

    Status reserve(qint64 size) override {
        if (size <= m_capacity) return {};
        if (m_fd < 0) return makeFailure(code::PathFileAccess);
        const qint64 step = std::clamp(m_capacity, kStep, kMaxStep);
        const qint64 wanted = std::max(size, m_capacity + step);
        const qint64 capacity = (wanted + kStep - 1) / kStep * kStep;
        // Allocated blocks: a store into a hole on a full disk would be a SIGBUS.
        if (const int err = ::posix_fallocate(m_fd, m_capacity, capacity - m_capacity))
            return failureFromErrno(err);
        void* mapped =
            m_data ? ::mremap(m_data, size_t(m_capacity), size_t(capacity), MREMAP_MAYMOVE)
                   : ::mmap(nullptr, size_t(capacity), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (mapped == MAP_FAILED) return failureFromErrno(errno);
        m_data = static_cast<char*>(mapped);
        m_capacity = capacity;
        return {};
    }

    Status sync() override {
        // On Linux fdatasync also writes the pages stored through the mapping.
        if (m_fd < 0) return makeFailure(code::PathFileAccess);
        if (::fdatasync(m_fd) != 0) return failureFromErrno(errno);
        if (m_folderFd >= 0) {
            if (::fsync(m_folderFd) != 0) return failureFromErrno(errno);
            ::close(m_folderFd);
            m_folderFd = -1;
        }
        return {};
    }

    Status close(qint64 size) override {
        if (m_fd < 0) return makeFailure(code::PathFileAccess);
        unmap();
        Status status;
        if (::ftruncate(m_fd, off_t(size)) != 0) status = failureFromErrno(errno);
        if (status) status = sync();
        release();
        return status;
    }

  private:
    void unmap() {
        if (m_data) ::munmap(m_data, size_t(m_capacity));
        m_data = nullptr;
        m_capacity = 0;
    }

    void release() {
        unmap();
        if (m_fd >= 0) ::close(m_fd);
        if (m_folderFd >= 0) ::close(m_folderFd);
        m_fd = m_folderFd = -1;
    }

    int m_fd;
    int m_folderFd;  // until its first sync
    char* m_data = nullptr;
    qint64 m_capacity = 0;
};

class PosixFileLock final : public FileLock {
  public:
    explicit PosixFileLock(int fd) : m_fd(fd) {}
    ~PosixFileLock() override { ::close(m_fd); }
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

  private:
    int m_fd;
};

}  // namespace

Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) {
    if (path.contains(QChar(u'\0'))) return makeFailure(code::BadFileName);
    const int fd = ::open(encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) return createFailure(errno);
    const int folderFd =
        ::open(encodeName(parentFolder(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        const int err = errno;
        ::close(fd);
        return createFailure(err);
    }
    auto file = std::make_unique<PosixRecordFile>(fd, folderFd);
    // Whoever opened the new file first (to look at it) holds it only briefly.
    if (const Status locked = lockFd(fd, true); !locked) return locked.failure();
    return std::unique_ptr<RecordFile>(std::move(file));
}

Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) {
    if (path.contains(QChar(u'\0'))) return makeFailure(code::BadFileName);
    const int fd = ::open(encodeName(path).constData(),
                          O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return failureFromErrno(errno);
    auto file = std::make_unique<PosixRecordFile>(fd, -1);
    if (const Status locked = lockFd(fd, false); !locked) return locked.failure();
    struct stat st;
    if (::fstat(fd, &st) != 0) return failureFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return makeFailure(code::PathFileAccess);
    if (const Status mapped = file->mapExisting(st.st_size); !mapped) return mapped.failure();
    return std::unique_ptr<RecordFile>(std::move(file));
}

Result<std::unique_ptr<FileLock>> lockFile(const QString& path) {
    if (path.contains(QChar(u'\0'))) return makeFailure(code::BadFileName);
    const int fd = ::open(encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) return createFailure(errno);
    auto lock = std::make_unique<PosixFileLock>(fd);
    if (const Status locked = lockFd(fd, true); !locked) return locked.failure();
    return std::unique_ptr<FileLock>(std::move(lock));
}

}  // namespace quillo::posix
