// Who owns what, as Windows says it: the token's user, a folder's owner and
// access list, and the drive under a held folder. Chosen by CMake.
#include <windows.h>
// The security headers need the types of windows.h.
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "core/failure.h"
#include "platform/usersecurity.h"
#include "platform/win_errors.h"
#include "platform/win_folder.h"
#include "platform/win_path.h"

namespace quillo {

namespace {

// The security identifier of the user the process runs as, copied out of its
// token; empty when the token cannot be read.
std::vector<BYTE> tokenUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    const win::Handle held(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    std::vector<BYTE> copy(::GetLengthSid(sid));
    if (!::CopySid(DWORD(copy.size()), copy.data(), sid)) return {};
    return copy;
}

// The process's user does not change while it runs.
const std::vector<BYTE>& processUser() {
    static const std::vector<BYTE> user = tokenUser();
    return user;
}

Failure notHeldBySystem() {
    return makeFailure(code::PathFileAccess);
}

}  // namespace

QString currentUserSid() {
    static const QString text = [] {
        const std::vector<BYTE>& user = processUser();
        LPWSTR sid = nullptr;
        if (user.empty() || !::ConvertSidToStringSidW(const_cast<BYTE*>(user.data()), &sid))
            return QString();
        const QString converted = QString::fromWCharArray(sid);
        ::LocalFree(sid);
        return converted;
    }();
    return text;
}

Result<bool> ownedByCurrentUser(FolderHandle& folder) {
    const HANDLE held = win::nativeHandle(folder);
    if (!held) return notHeldBySystem();
    const std::vector<BYTE>& user = processUser();
    if (user.empty()) return notHeldBySystem();
    // The held folder itself, opened again to read its owner: the handle it
    // is held by may only list and traverse.
    DWORD err = 0;
    const win::Handle self(
        win::openRelative(held, QString(), READ_CONTROL, FILE_DIRECTORY_FILE, &err));
    if (!self.valid()) return failureFromWin32(err);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR security = nullptr;
    const DWORD got = ::GetSecurityInfo(self.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                                        &owner, nullptr, nullptr, nullptr, &security);
    if (got != ERROR_SUCCESS) return failureFromWin32(got);
    const bool mine = owner && ::EqualSid(owner, const_cast<BYTE*>(user.data()));
    ::LocalFree(security);
    return mine;
}

Status makePrivateFolder(FolderHandle& parent, const QString& name) {
    const HANDLE held = win::nativeHandle(parent);
    if (!held) return notHeldBySystem();
    const std::vector<BYTE>& user = processUser();
    if (user.empty()) return notHeldBySystem();
    const PSID sid = const_cast<BYTE*>(user.data());
    // One entry, for the user, passed on to everything made inside; none
    // taken over from the folder above.
    const DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid);
    std::vector<BYTE> aclBuffer(aclBytes);
    auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    SECURITY_DESCRIPTOR security;
    if (!::InitializeAcl(acl, aclBytes, ACL_REVISION) ||
        !::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                 FILE_ALL_ACCESS, sid) ||
        !::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorOwner(&security, sid, FALSE) ||
        !::SetSecurityDescriptorDacl(&security, TRUE, acl, FALSE) ||
        !::SetSecurityDescriptorControl(&security, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return failureFromWin32(::GetLastError());
    DWORD err = 0;
    const win::Handle made(win::openRelative(held, name, FILE_LIST_DIRECTORY, FILE_DIRECTORY_FILE,
                                             &err, FILE_CREATE, 0, &security));
    if (!made.valid()) return failureFromWin32(err);
    return {};
}

Status makeRecycleFolder(FolderHandle& driveRoot, const QString& drive, const QString& name) {
    const HANDLE held = win::nativeHandle(driveRoot);
    if (!held) return notHeldBySystem();
    const std::wstring root = (drive + u'\\').toStdWString();
    if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return makeFailure(code::PathFileAccess);
    // The system and administrators may do anything; everyone else may look
    // in and make a folder, their own bin, which sets its own access list.
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200ad;;;WD)", SDDL_REVISION_1, &security, nullptr))
        return failureFromWin32(::GetLastError());
    DWORD err = 0;
    const win::Handle made(win::openRelative(
        held, name, FILE_LIST_DIRECTORY | FILE_WRITE_ATTRIBUTES, FILE_DIRECTORY_FILE, &err,
        FILE_CREATE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, security));
    ::LocalFree(security);
    if (!made.valid()) return failureFromWin32(err);
    // Hidden from listings as Windows keeps it; a bin left visible still
    // works, so a refusal here is not the trash's failure.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ::SetFileInformationByHandle(made.get(), FileBasicInfo, &basic, sizeof basic);
    return {};
}

Result<QString> driveOf(FolderHandle& folder) {
    const Result<QString> path = folder.path();
    if (!path) return path.failure();
    const std::optional<std::wstring> win32 = win32Path(path.value());
    if (!win32) return makeFailure(code::BadFileName);
    std::wstring volume(win32->size() + 1, L'\0');
    if (!::GetVolumePathNameW(win32->c_str(), volume.data(), DWORD(volume.size())))
        return failureFromWin32(::GetLastError());
    volume.resize(volume.find(L'\0'));
    const QString root = pathFromWin32(volume);
    const bool drive = root.size() == 2 && root.at(1) == u':' && root.at(0).isLetter();
    if (!drive) return makeFailure(code::PathFileAccess);
    return root;
}

}  // namespace quillo
