// The record file of a Windows machine: a file mapping over a file whose
// clusters are allocated before they are written.
#include "platform/win_recordfile.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <optional>

#include "core/failure.h"
#include "core/paths.h"
#include "platform/win_errors.h"
#include "platform/win_path.h"

namespace quillo::win {

namespace {

constexpr qint64 kStep = qint64(1) << 20;      // the first capacity and its rounding
constexpr qint64 kMaxStep = qint64(64) << 20;  // growth stops doubling here

// Gives the file capacity bytes of disk space (0, or the error). Moving the
// end of a file that is not sparse makes NTFS and FAT allocate its clusters
// at once; the valid data length stays behind and reads as zeros.
DWORD allocate(HANDLE file, qint64 capacity) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = capacity;
    if (::SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end)) return 0;
    return ::GetLastError();
}

// The lock is one byte far past any record: Windows locks are mandatory, and
// a lock on the bytes themselves would refuse the reads of an undo that looks
// at a run still under way.
constexpr qint64 kLockOffset = qint64(1) << 62;

// Everyone may read, write, rename or delete the file meanwhile: what keeps
// another process off a record is the lock, not the sharing of the handle,
// and a journal is renamed while its undo holds it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Locks the file against other processes (and other handles of this one). The
// lock belongs to the handle: the system drops it when the handle closes,
// which the death of the process does too.
Status lockHandle(HANDLE file, bool wait) {
    OVERLAPPED at{};
    at.Offset = DWORD(kLockOffset & 0xFFFFFFFF);
    at.OffsetHigh = DWORD(kLockOffset >> 32);
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (::LockFileEx(file, flags, 0, 1, 0, &at)) return {};
    const DWORD err = ::GetLastError();
    return err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING
               ? makeFailure(code::PermissionDenied)
               : failureFromWin32(err);
}

Failure createFailure(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND
               ? makeFailure(code::PathNotFound)
               : failureFromWin32(err);
}

class WinRecordFile final : public RecordFile {
  public:
    WinRecordFile(HANDLE file, std::wstring folder) : m_file(file), m_folder(std::move(folder)) {}

    // Maps the size bytes the file holds already.
    Status mapExisting(qint64 size) {
        if (size == 0) return {};
        const std::lock_guard<std::mutex> lock(m_viewLock);
        return map(size);
    }
    ~WinRecordFile() override { release(); }
    WinRecordFile(const WinRecordFile&) = delete;
    WinRecordFile& operator=(const WinRecordFile&) = delete;

    char* data() override { return m_data; }
    qint64 capacity() const override { return m_capacity; }

    Status reserve(qint64 size) override {
        if (size <= m_capacity) return {};
        if (m_file == INVALID_HANDLE_VALUE) return makeFailure(code::PathFileAccess);
        const qint64 step = std::clamp(m_capacity, kStep, kMaxStep);
        const qint64 wanted = std::max(size, m_capacity + step);
        const qint64 capacity = (wanted + kStep - 1) / kStep * kStep;
        // Allocated clusters: a store into a page the disk cannot hold would be
        // an in-page error, not a failure the program can report.
        if (const DWORD err = allocate(m_file, capacity)) return failureFromWin32(err);
        // No mremap here: the view is made anew, under the lock that sync()
        // flushes it under, since sync() may come from another thread.
        const std::lock_guard<std::mutex> lock(m_viewLock);
        unmap();
        return map(capacity);
    }

    Status sync() override {
        if (m_file == INVALID_HANDLE_VALUE) return makeFailure(code::PathFileAccess);
        {
            // FlushViewOfFile only starts writing the view's pages;
            // FlushFileBuffers waits for them and the file's size.
            const std::lock_guard<std::mutex> lock(m_viewLock);
            if (m_data && !::FlushViewOfFile(m_data, 0)) return failureFromWin32(::GetLastError());
        }
        if (!::FlushFileBuffers(m_file)) return failureFromWin32(::GetLastError());
        return syncFolderOnce();
    }

    Status close(qint64 size) override {
        if (m_file == INVALID_HANDLE_VALUE) return makeFailure(code::PathFileAccess);
        {
            const std::lock_guard<std::mutex> lock(m_viewLock);
            unmap();  // a mapped file cannot be cut
        }
        Status status;
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = size;
        if (!::SetFileInformationByHandle(m_file, FileEndOfFileInfo, &end, sizeof end))
            status = failureFromWin32(::GetLastError());
        if (status) status = sync();
        release();
        return status;
    }

  private:
    // The new file's entry in its folder, written once: the folder opened for
    // writing and flushed.
    Status syncFolderOnce() {
        if (m_folder.empty()) return {};
        HANDLE folder = ::CreateFileW(m_folder.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder == INVALID_HANDLE_VALUE) return failureFromWin32(::GetLastError());
        const bool flushed = ::FlushFileBuffers(folder);
        const DWORD err = ::GetLastError();
        ::CloseHandle(folder);
        if (!flushed) return failureFromWin32(err);
        m_folder.clear();
        return {};
    }

    // A view of the file's first capacity bytes; m_viewLock held.
    Status map(qint64 capacity) {
        HANDLE mapping =
            ::CreateFileMappingW(m_file, nullptr, PAGE_READWRITE, DWORD(capacity >> 32),
                                 DWORD(capacity & 0xFFFFFFFF), nullptr);
        if (!mapping) return failureFromWin32(::GetLastError());
        void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, SIZE_T(capacity));
        if (!view) {
            const DWORD err = ::GetLastError();
            ::CloseHandle(mapping);
            return failureFromWin32(err);
        }
        m_mapping = mapping;
        m_data = static_cast<char*>(view);
        m_capacity = capacity;
        return {};
    }

    void unmap() {
        if (m_data) ::UnmapViewOfFile(m_data);
        if (m_mapping) ::CloseHandle(m_mapping);
        m_data = nullptr;
        m_mapping = nullptr;
        m_capacity = 0;
    }

    void release() {
        {
            const std::lock_guard<std::mutex> lock(m_viewLock);
            unmap();
        }
        if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }

    HANDLE m_file;
    std::wstring m_folder;  // until its first sync
    std::mutex m_viewLock;  // the view against a flush from another thread
    HANDLE m_mapping = nullptr;
    char* m_data = nullptr;
    qint64 m_capacity = 0;
};

class WinFileLock final : public FileLock {
  public:
    explicit WinFileLock(HANDLE file) : m_file(file) {}
    ~WinFileLock() override { ::CloseHandle(m_file); }
    WinFileLock(const WinFileLock&) = delete;
    WinFileLock& operator=(const WinFileLock&) = delete;

  private:
    HANDLE m_file;
};

}  // namespace

Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) {
    const std::optional<std::wstring> p = win32Path(path);
    const std::optional<std::wstring> folder = win32Path(parentFolder(path));
    if (!p || !folder) return makeFailure(code::BadFileName);
    // CREATE_NEW never opens what is there, a link included.
    HANDLE file =
        ::CreateFileW(p->c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return createFailure(::GetLastError());
    auto record = std::make_unique<WinRecordFile>(file, *folder);
    // Whoever opened the new file first (to look at it) holds it only briefly.
    if (const Status locked = lockHandle(file, true); !locked) return locked.failure();
    return std::unique_ptr<RecordFile>(std::move(record));
}

Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) {
    const std::optional<std::wstring> p = win32Path(path);
    if (!p) return makeFailure(code::BadFileName);
    HANDLE file =
        ::CreateFileW(p->c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failureFromWin32(::GetLastError());
    auto record = std::make_unique<WinRecordFile>(file, std::wstring());
    if (const Status locked = lockHandle(file, false); !locked) return locked.failure();
    // A link or a folder is no record, even where it could be opened.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) return failureFromWin32(::GetLastError());
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        return makeFailure(code::PathFileAccess);
    const qint64 size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (const Status mapped = record->mapExisting(size); !mapped) return mapped.failure();
    return std::unique_ptr<RecordFile>(std::move(record));
}

Result<std::unique_ptr<FileLock>> lockFile(const QString& path) {
    const std::optional<std::wstring> p = win32Path(path);
    if (!p) return makeFailure(code::BadFileName);
    HANDLE file =
        ::CreateFileW(p->c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return createFailure(::GetLastError());
    auto lock = std::make_unique<WinFileLock>(file);
    if (const Status locked = lockHandle(file, true); !locked) return locked.failure();
    return std::unique_ptr<FileLock>(std::move(lock));
}

}  // namespace quillo::win
