#include <windows.h>

#include <QDir>
#include <QFileInfo>

#include "files.h"

namespace quillo::test {

namespace {
std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}
}  // namespace

// Without the developer mode of Windows 10 or more, making a link needs a
// privilege. A link counts once it is there: Wine 8 answers success and makes
// nothing.
bool makeSymlink(const QString& target, const QString& link) {
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (QFileInfo(target).isDir()) flags |= SYMBOLIC_LINK_FLAG_DIRECTORY;
    if (!::CreateSymbolicLinkW(native(link).c_str(), native(target).c_str(), flags)) return false;
    const DWORD attributes = ::GetFileAttributesW(native(link).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool symlinksWork() {
    static const bool works = [] {
        const QString folder = QDir::tempPath();
        const QString link =
            folder + QStringLiteral("/quillo-link-probe-%1").arg(::GetCurrentProcessId());
        const bool made = makeSymlink(folder, link);
        ::RemoveDirectoryW(native(link).c_str());
        return made;
    }();
    return works;
}

QString makeHiddenFile(const QString& folder) {
    const QString name = QStringLiteral("hidden.jpg");
    writeFile(folder + u'/' + name, "h");
    ::SetFileAttributesW(native(folder + u'/' + name).c_str(), FILE_ATTRIBUTE_HIDDEN);
    return name;
}

// Windows keeps pipes in a namespace of their own, never among files.
bool makePipe(const QString&) {
    return false;
}

bool trashAvailable() {
    return false;
}

QString rooted(const QString& path) {
    return path.startsWith(u'/') ? QStringLiteral("C:") + path : path;
}

namespace {
// The helper program beside the tests (tests/support/lockholder_win.cpp): a
// build made on Linux knows it by its Linux path, which Wine shows as Z:.
QString lockHolder() {
    const QString program = QStringLiteral(QUILLO_LOCK_HOLDER);
    return program.startsWith(u'/') ? QStringLiteral("Z:") + program : program;
}
}  // namespace

bool freeForOthers(const QString& path) {
    return QProcess::execute(lockHolder(), {QStringLiteral("try"), path}) == 0;
}

bool holdLockElsewhere(QProcess& process, const QString& path) {
    process.start(lockHolder(), {QStringLiteral("hold"), path});
    return heldOnceSaid(process);
}

bool runsUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

bool makeHardLink(const QString& existing, const QString& link) {
    return ::CreateHardLinkW(native(link).c_str(), native(existing).c_str(), nullptr);
}

namespace {
std::wstring undecodable(const QString& folder) {
    std::wstring name = native(folder + QStringLiteral("/bad"));
    name.push_back(wchar_t(0xD800));  // a lone surrogate
    return name + L".jpg";
}
}  // namespace

bool makeUndecodableName(const QString& folder) {
    const HANDLE h = ::CreateFileW(undecodable(folder).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

void removeUndecodableName(const QString& folder) {
    ::DeleteFileW(undecodable(folder).c_str());
}

// No second drive can be mounted from a test here.
OwnDrive::OwnDrive() = default;
OwnDrive::~OwnDrive() = default;

}  // namespace quillo::test
