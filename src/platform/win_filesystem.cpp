// The file system of a Windows machine: wide-character Win32, and the native
// API where an entry is opened relative to a held folder. Chosen by CMake.
#include <windows.h>
#include <winternl.h>

#include <QString>
#include <algorithm>
#include <string>

#include "core/failure.h"
#include "platform/filesystem.h"
#include "platform/win_errors.h"
#include "platform/win_folder.h"
#include "platform/win_path.h"
#include "platform/win_recordfile.h"

namespace quillo {

namespace win {

HANDLE openRelative(HANDLE root, const QString& name, ACCESS_MASK access, ULONG options,
                    DWORD* error, ULONG disposition, ULONG share, PSECURITY_DESCRIPTOR security) {
    std::wstring wide = name.toStdWString();
    if (wide.size() > 32767) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return INVALID_HANDLE_VALUE;
    }
    UNICODE_STRING text;
    text.Buffer = wide.data();
    text.Length = USHORT(wide.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, root, security);
    IO_STATUS_BLOCK io{};
    HANDLE h = INVALID_HANDLE_VALUE;
    const NTSTATUS status = ::NtCreateFile(
        &h, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
        disposition, options | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT, nullptr, 0);
    if (status < 0) {
        *error = win32FromStatus(status);
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

}  // namespace win

namespace {

using win::Handle;
using win::openRelative;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// 100 ns steps between 1601-01-01 and 1970-01-01.
constexpr qint64 kEpochDelta = 116444736000000000;

// A link or junction: a reparse point that names another place. Other reparse
// points (cloud placeholders, deduplicated or compressed files) are files.
bool namesAnotherPlace(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag);
}

EntryType typeOf(DWORD attributes, DWORD tag) {
    if (namesAnotherPlace(attributes, tag)) return EntryType::Symlink;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryType::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryType::Other;
    return EntryType::File;
}

qint64 nsSinceEpoch(const FILETIME& t) {
    const qint64 ticks = (qint64(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return (ticks - kEpochDelta) * 100;
}

DWORD reparseTag(HANDLE h, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag)) return 0;
    return tag.ReparseTag;
}

// What the open handle is: identity from the volume serial number and the
// file index, which stay with the file whatever its name.
Result<FileInfo> infoOfHandle(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION bh{};
    if (!::GetFileInformationByHandle(h, &bh)) return failureFromWin32(::GetLastError());
    FileInfo info;
    info.type = typeOf(bh.dwFileAttributes, reparseTag(h, bh.dwFileAttributes));
    info.size = (qint64(bh.nFileSizeHigh) << 32) | bh.nFileSizeLow;
    info.mtimeNs = nsSinceEpoch(bh.ftLastWriteTime);
    info.device = bh.dwVolumeSerialNumber;
    info.inode = (quint64(bh.nFileIndexHigh) << 32) | bh.nFileIndexLow;
    return info;
}

// A missing folder is "path not found", not "file not found".
Failure folderFailure(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND ? makeFailure(code::PathNotFound) : failureFromWin32(err);
}

Failure badName() {
    return makeFailure(code::BadFileName);
}

// A name of the held folder: one entry, as the interface promises; a NUL
// would end the name early in the kernel.
bool validName(const QString& name) {
    return !name.isEmpty() && !name.contains(QChar(u'\0'));
}

class WinInputFile final : public InputFile {
  public:
    explicit WinInputFile(HANDLE h) : m_h(h) {}
    ~WinInputFile() override { ::CloseHandle(m_h); }
    WinInputFile(const WinInputFile&) = delete;
    WinInputFile& operator=(const WinInputFile&) = delete;

    Result<FileInfo> info() override { return infoOfHandle(m_h); }

    Result<qint64> read(char* buffer, qint64 max) override {
        DWORD got = 0;
        const DWORD want = DWORD(std::min<qint64>(max, 1 << 30));
        if (!::ReadFile(m_h, buffer, want, &got, nullptr)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_HANDLE_EOF) return qint64(0);
            return readFailureFromWin32(err);
        }
        return qint64(got);
    }

    Status seek(qint64 offset) override {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        if (!::SetFilePointerEx(m_h, to, nullptr, FILE_BEGIN))
            return readFailureFromWin32(::GetLastError());
        return {};
    }

    // Windows takes its readahead advice only as flags when a file is opened;
    // its cache manager adapts to the reads that follow.
    void expect(ReadAhead) override {}

  private:
    HANDLE m_h;
};

std::unique_ptr<InputFile> inputFile(HANDLE h) {
    return std::make_unique<WinInputFile>(h);
}

// Sets a rename's target on an open handle, never replacing what is there
// (FILE_RENAME_INFO has the native FILE_RENAME_INFORMATION's layout).
// root is the held folder for a new name beside the file, or none for a full
// path in the native form.
Status renameHandle(HANDLE h, HANDLE root, const std::wstring& target) {
    const std::size_t bytes = target.size() * sizeof(wchar_t);
    std::string buffer(sizeof(FILE_RENAME_INFO) + bytes, '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = root;
    info->FileNameLength = DWORD(bytes);
    std::copy(target.begin(), target.end(), info->FileName);
    // The native call that SetFileInformationByHandle(FileRenameInfo) makes on
    // Windows; Wine 8 answers that one with ERROR_INVALID_PARAMETER.
    IO_STATUS_BLOCK io{};
    const NTSTATUS status =
        ::NtSetInformationFile(h, &io, info, ULONG(buffer.size()), FileRenameInformation);
    if (status >= 0) return {};
    const DWORD err = win32FromStatus(status);
    // The source is open: what is missing is the destination's folder.
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
        return makeFailure(code::PathNotFound);
    return failureFromWin32(err);
}

// Where the open handle is now, as the program writes paths.
Result<QString> finalPath(HANDLE h) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), DWORD(buffer.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return failureFromWin32(::GetLastError());
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(n + 1);
    }
    return pathFromWin32(buffer);
}

// Writes bytes into the new file h; a file not written in full is removed
// through its own handle (opened with DELETE and shared with no one).
Status writeNewFile(HANDLE h, const QByteArray& bytes) {
    DWORD err = 0;
    for (qsizetype done = 0; done < bytes.size() && err == 0;) {
        DWORD put = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        if (!::WriteFile(h, bytes.constData() + done, chunk, &put, nullptr)) err = ::GetLastError();
        done += put;
    }
    if (err == 0) return {};
    FILE_DISPOSITION_INFO gone{};
    gone.DeleteFile = TRUE;
    ::SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone);
    return failureFromWin32(err);
}

// What a held folder's handle may do: list and look at its entries, and be
// the folder that relative opens, creates and renames start from.
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE;

bool hasSeparator(const QString& name) {
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

// Entries are looked up relative to the held folder handle.
class WinFolderHandle final : public FolderHandle {
  public:
    explicit WinFolderHandle(HANDLE h) : m_h(h) {}
    ~WinFolderHandle() override { ::CloseHandle(m_h); }
    WinFolderHandle(const WinFolderHandle&) = delete;
    WinFolderHandle& operator=(const WinFolderHandle&) = delete;

    Result<FileInfo> self() override { return infoOfHandle(m_h); }

    Result<FileInfo> info(const QString& name) override {
        if (!validName(name)) return badName();
        DWORD err = 0;
        const Handle h(openRelative(m_h, name, FILE_READ_ATTRIBUTES, 0, &err));
        if (!h.valid()) return failureFromWin32(err);
        return infoOfHandle(h.get());
    }

    Result<std::unique_ptr<InputFile>> openRead(const QString& name) override {
        if (!validName(name)) return badName();
        DWORD err = 0;
        Handle h(openRelative(m_h, name, GENERIC_READ,
                              FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY, &err));
        if (!h.valid()) return readFailureFromWin32(err);
        // A final link is not followed: refused as on a system that stops at it.
        const Result<FileInfo> info = infoOfHandle(h.get());
        if (!info) return info.failure();
        if (info->type == EntryType::Symlink) return makeFailure(code::PathNotFound);
        return inputFile(h.release());
    }

    Status remove(const QString& name) override {
        if (!validName(name)) return badName();
        DWORD err = 0;
        const Handle h(openRelative(m_h, name, DELETE, FILE_NON_DIRECTORY_FILE, &err));
        if (!h.valid()) return failureFromWin32(err);
        FILE_DISPOSITION_INFO gone{};
        gone.DeleteFile = TRUE;
        if (!::SetFileInformationByHandle(h.get(), FileDispositionInfo, &gone, sizeof gone))
            return failureFromWin32(::GetLastError());
        return {};  // the entry goes when the handle closes, at the end of this scope
    }

    Status rename(const QString& name, const QString& to) override {
        if (!validName(name) || !validName(to)) return badName();
        const bool elsewhere = hasSeparator(to);
        // Onto itself is onto an existing file, as everywhere else.
        if (!elsewhere && to == name) return makeFailure(code::FileExists);
        std::wstring target;
        if (elsewhere) {
            const std::optional<std::wstring> path = ntPath(to);
            if (!path) return badName();
            target = *path;
        } else {
            target = to.toStdWString();
        }
        DWORD err = 0;
        const Handle h(openRelative(m_h, name, DELETE, 0, &err));
        if (!h.valid()) return failureFromWin32(err);
        return renameHandle(h.get(), elsewhere ? nullptr : m_h, target);
    }

    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& name) override {
        if (!validName(name)) return badName();
        if (name == QLatin1String("..")) return openParent();
        DWORD err = 0;
        // An empty name relative to a folder is that folder itself.
        Handle h(openRelative(m_h, name == QLatin1String(".") ? QString() : name, kFolderAccess, 0,
                              &err));
        if (!h.valid()) return folderFailure(err);
        // Opened as itself (FILE_OPEN_REPARSE_POINT): a junction or link there
        // is refused as a file is.
        const Result<FileInfo> info = infoOfHandle(h.get());
        if (!info) return info.failure();
        if (info->type != EntryType::Directory) return makeFailure(code::PathFileAccess);
        return std::unique_ptr<FolderHandle>(std::make_unique<WinFolderHandle>(h.release()));
    }

    Status makeFolder(const QString& name) override {
        if (!validName(name)) return badName();
        DWORD err = 0;
        // The new folder takes the held one's access list.
        const Handle h(
            openRelative(m_h, name, FILE_LIST_DIRECTORY, FILE_DIRECTORY_FILE, &err, FILE_CREATE));
        if (!h.valid()) return folderFailure(err);
        return {};
    }

    Status createFile(const QString& name, const QByteArray& bytes) override {
        if (!validName(name)) return badName();
        DWORD err = 0;
        // FILE_CREATE never opens what is there, a link included.
        const Handle h(openRelative(m_h, name, GENERIC_WRITE | DELETE, FILE_NON_DIRECTORY_FILE,
                                    &err, FILE_CREATE, 0));
        if (!h.valid()) return folderFailure(err);
        return writeNewFile(h.get(), bytes);
    }

    Status moveInto(const QString& name, FolderHandle& to, const QString& newName) override {
        auto* dest = dynamic_cast<WinFolderHandle*>(&to.held());
        if (!dest) return makeFailure(code::PathFileAccess);
        if (!validName(name) || !validName(newName)) return badName();
        if (hasSeparator(newName)) return badName();
        if (name == newName) {
            // Onto itself is onto an existing file, as everywhere else.
            const Result<FileInfo> here = self(), there = dest->self();
            if (here && there && sameFile(here.value(), there.value()))
                return makeFailure(code::FileExists);
        }
        DWORD err = 0;
        const Handle h(openRelative(m_h, name, DELETE, 0, &err));
        if (!h.valid()) return failureFromWin32(err);
        return renameHandle(h.get(), dest->m_h, newName.toStdWString());
    }

    Result<QString> path() override { return finalPath(m_h); }

    HANDLE native() const { return m_h; }

  private:
    // The native API has no ".." relative to a handle: the folder above is
    // opened by the held folder's present path, as current as a lookup gets.
    Result<std::unique_ptr<FolderHandle>> openParent() {
        const Result<QString> here = path();
        if (!here) return here.failure();
        const QString up = parentFolder(here.value());
        if (up.isEmpty() || up == here.value()) return makeFailure(code::PathNotFound);
        return systemFileSystem().openFolder(up);
    }

    HANDLE m_h;
};

// Opens a path with CreateFileW; flags add to FILE_FLAG_BACKUP_SEMANTICS,
// which folders need.
HANDLE openPath(const std::wstring& path, DWORD access, DWORD flags) {
    return ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

class WinFileSystem final : public FileSystem {
  public:
    Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) override {
        return win::createRecordFile(path);
    }

    Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) override {
        return win::openRecordFile(path);
    }

    Result<std::unique_ptr<FileLock>> lockFile(const QString& path) override {
        return win::lockFile(path);
    }

    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& folder) override {
        const std::optional<std::wstring> path = win32Path(folder);
        if (!path) return badName();
        Handle h(openPath(*path,
                          FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE | SYNCHRONIZE,
                          FILE_FLAG_OPEN_REPARSE_POINT));
        if (!h.valid()) return folderFailure(::GetLastError());
        // Held as itself: a junction or link in its place is refused, as a
        // file is, so that nothing is done somewhere else.
        const Result<FileInfo> info = infoOfHandle(h.get());
        if (!info) return info.failure();
        if (info->type != EntryType::Directory) return makeFailure(code::PathNotFound);
        return std::unique_ptr<FolderHandle>(std::make_unique<WinFolderHandle>(h.release()));
    }

    Result<Listing> list(const QString& folder) override {
        const std::optional<std::wstring> path = win32Path(folder);
        if (!path) return badName();
        std::wstring pattern = *path;
        if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
        pattern += L'*';
        WIN32_FIND_DATAW found;
        HANDLE search =
            ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                               nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD err = ::GetLastError();
            // An empty drive root has no entries at all, not even "." and "..".
            if (err == ERROR_FILE_NOT_FOUND && isFolder(*path)) return Listing{};
            return folderFailure(err);
        }
        Listing listing;
        DWORD err = ERROR_NO_MORE_FILES;
        do {
            const QString name = QString::fromWCharArray(found.cFileName);
            if (name == QLatin1String(".") || name == QLatin1String("..")) continue;
            // A lone surrogate is legal in an NTFS name but is no text: it
            // would not survive the journal's UTF-8.
            if (!QStringView(name).isValidUtf16()) {
                ++listing.undecodable;
                continue;
            }
            DirEntry entry;
            entry.name = name;
            entry.type = typeOf(found.dwFileAttributes, found.dwReserved0);
            entry.hidden = found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
            listing.entries.push_back(std::move(entry));
        } while (::FindNextFileW(search, &found) ||
                 (err = ::GetLastError()) != ERROR_NO_MORE_FILES);
        ::FindClose(search);
        if (err != ERROR_NO_MORE_FILES) return failureFromWin32(err);
        return listing;
    }

    Result<FileInfo> info(const QString& path) override {
        const std::optional<std::wstring> p = win32Path(path);
        if (!p) return badName();
        const Handle h(openPath(*p, FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
        if (!h.valid()) return failureFromWin32(::GetLastError());
        return infoOfHandle(h.get());
    }

    Result<QString> canonicalFolder(const QString& folder) override {
        const std::optional<std::wstring> path = win32Path(folder);
        if (!path) return badName();
        // Links are followed here: the answer is where the folder really is.
        const Handle h(openPath(*path, FILE_READ_ATTRIBUTES, 0));
        if (!h.valid()) return folderFailure(::GetLastError());
        return finalPath(h.get());
    }

    Result<std::unique_ptr<InputFile>> openRead(const QString& path) override {
        const std::optional<std::wstring> p = win32Path(path);
        if (!p) return badName();
        HANDLE h = ::CreateFileW(p->c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return readFailureFromWin32(::GetLastError());
        return inputFile(h);
    }

    Status remove(const QString& path) override {
        const std::optional<std::wstring> p = win32Path(path);
        if (!p) return badName();
        if (!::DeleteFileW(p->c_str())) return failureFromWin32(::GetLastError());
        return {};
    }

    Status rename(const QString& from, const QString& to) override {
        const std::optional<std::wstring> f = win32Path(from), t = win32Path(to);
        if (!f || !t) return badName();
        if (*f == *t) return makeFailure(code::FileExists);
        // Neither MOVEFILE_REPLACE_EXISTING nor MOVEFILE_COPY_ALLOWED: an
        // existing target is refused, another drive is refused.
        if (::MoveFileExW(f->c_str(), t->c_str(), 0)) return {};
        const DWORD err = ::GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
            // Either side may be missing: the source is "file not found", the
            // destination folder "path not found".
            const Handle h(openPath(*f, FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
            return makeFailure(h.valid() ? code::PathNotFound : code::FileNotFound);
        }
        return failureFromWin32(err);
    }

    std::vector<QString> volumes() override {
        std::vector<QString> roots;
        const DWORD drives = ::GetLogicalDrives();
        for (int i = 0; i < 26; ++i)
            if (drives & (DWORD(1) << i)) roots.push_back(QChar(u'A' + i) + QStringLiteral(":"));
        return roots;
    }

    Status makeFolder(const QString& path) override {
        const std::optional<std::wstring> p = win32Path(path);
        if (!p) return badName();
        // The folder takes its parent's access list: under the user's own
        // profile, that user's alone.
        if (!::CreateDirectoryW(p->c_str(), nullptr)) return folderFailure(::GetLastError());
        return {};
    }

    Status createFile(const QString& path, const QByteArray& bytes) override {
        const std::optional<std::wstring> p = win32Path(path);
        if (!p) return badName();
        // CREATE_NEW never opens what is there, a link included.
        const Handle h(::CreateFileW(p->c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
        if (!h.valid()) return folderFailure(::GetLastError());
        return writeNewFile(h.get(), bytes);
    }

  private:
    static bool isFolder(const std::wstring& path) {
        const DWORD a = ::GetFileAttributesW(path.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
};

}  // namespace

HANDLE win::nativeHandle(FolderHandle& folder) {
    const auto* held = dynamic_cast<WinFolderHandle*>(&folder.held());
    return held ? held->native() : nullptr;
}

FileSystem& systemFileSystem() {
    static WinFileSystem fs;
    return fs;
}

}  // namespace quillo
