#include <windows.h>

#include <QStandardPaths>

#include "core/failure.h"
#include "platform/win_errors.h"
#include "systemerrors.h"

namespace quillo::test {

std::vector<SystemError> systemErrors() {
    return {{"ERROR_NOT_SAME_DEVICE", ERROR_NOT_SAME_DEVICE, code::RenameAcrossDrives},
            {"ERROR_ALREADY_EXISTS", ERROR_ALREADY_EXISTS, code::FileExists},
            {"ERROR_FILE_EXISTS", ERROR_FILE_EXISTS, code::FileExists},
            {"ERROR_FILE_NOT_FOUND", ERROR_FILE_NOT_FOUND, code::FileNotFound},
            {"ERROR_PATH_NOT_FOUND", ERROR_PATH_NOT_FOUND, code::PathNotFound},
            {"ERROR_DISK_FULL", ERROR_DISK_FULL, code::DiskFull},
            {"ERROR_SHARING_VIOLATION", ERROR_SHARING_VIOLATION, code::PermissionDenied},
            {"ERROR_INVALID_NAME", ERROR_INVALID_NAME, code::BadFileName},
            {"ERROR_CRC", ERROR_CRC, code::DeviceIo}};
}

int codeOfSystemError(int error) {
    return codeFromWin32(DWORD(error));
}

// The local application data of the profile, whatever a desktop of Linux
// would have set.
std::vector<DataFolderCase> userDataFolderCases() {
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {{"XDG set", "/srv/data/", local}, {"XDG empty", {}, local}};
}

}  // namespace quillo::test
