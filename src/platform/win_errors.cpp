#include "platform/win_errors.h"

#include <winternl.h>

#include "core/failure.h"

namespace quillo {

int codeFromWin32(DWORD err) {
    switch (err) {
        case ERROR_FILE_NOT_FOUND:
            return code::FileNotFound;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
        case ERROR_DIR_NOT_EMPTY:
            return code::FileExists;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_USER_MAPPED_FILE:
            return code::PermissionDenied;
        case ERROR_NOT_SAME_DEVICE:
            return code::RenameAcrossDrives;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return code::DiskFull;
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
        case ERROR_NOT_READY:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_DEVICE_NOT_CONNECTED:
            return code::DeviceIo;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER:
        case ERROR_NO_UNICODE_TRANSLATION:
            return code::BadFileName;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_CANT_ACCESS_FILE:
        case ERROR_CANT_RESOLVE_FILENAME:
            return code::PathNotFound;
        default:
            return code::PathFileAccess;
    }
}

Failure failureFromWin32(DWORD err) {
    return makeFailure(codeFromWin32(err));
}

Failure readFailureFromWin32(DWORD err) {
    return readFailureOfCode(codeFromWin32(err));
}

DWORD win32FromStatus(LONG status) {
    return RtlNtStatusToDosError(status);
}

}  // namespace quillo
