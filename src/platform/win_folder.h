#pragma once
// The native side of folders held by the Windows file system, for the other
// Windows implementation files.

#include <windows.h>

#include <QString>

#include "platform/filesystem.h"

namespace quillo::win {

// Closes a handle when it goes out of scope.
class Handle {
  public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~Handle() {
        if (valid()) ::CloseHandle(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE get() const { return m_h; }
    HANDLE release() {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }

  private:
    HANDLE m_h;
};

// The handle the held folder keeps open; nullptr for a folder the system
// file system did not hold (a test's wrapper).
HANDLE nativeHandle(FolderHandle& folder);

// Opens name inside the folder held by root with the native call: the lookup
// starts at the held folder, a final link is opened as itself. An empty
// name is root itself. With FILE_CREATE, security (where given) is the new
// entry's. INVALID_HANDLE_VALUE and the Win32 error in *error on failure.
HANDLE openRelative(HANDLE root, const QString& name, ACCESS_MASK access, ULONG options,
                    DWORD* error, ULONG disposition = FILE_OPEN,
                    ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    PSECURITY_DESCRIPTOR security = nullptr);

}  // namespace quillo::win
