#include <cerrno>

#include "core/failure.h"
#include "platform/posix_errno.h"
#include "systemerrors.h"

namespace quillo::test {

std::vector<SystemError> systemErrors() {
    return {{"EXDEV", EXDEV, code::RenameAcrossDrives},
            {"EEXIST", EEXIST, code::FileExists},
            {"ENOENT", ENOENT, code::FileNotFound},
            {"ENOSPC", ENOSPC, code::DiskFull},
            {"EACCES", EACCES, code::PermissionDenied}};
}

int codeOfSystemError(int error) {
    return codeFromErrno(error);
}

}  // namespace quillo::test
