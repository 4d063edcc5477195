#include "platform/posix_errno.h"

#include <cerrno>

#include "core/failure.h"

namespace quillo {

int codeFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return code::FileNotFound;
        case EEXIST:
        case ENOTEMPTY:
            return code::FileExists;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return code::PermissionDenied;
        case EXDEV:
            return code::RenameAcrossDrives;
        case ENOSPC:
        case EDQUOT:
            return code::DiskFull;
        case EIO:
            return code::DeviceIo;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return code::BadFileName;
        case ENOTDIR:
        case ELOOP:
            return code::PathNotFound;
        default:
            return code::PathFileAccess;
    }
}

Failure failureFromErrno(int err) {
    return makeFailure(codeFromErrno(err));
}

Failure readFailure(int err) {
    return readFailureOfCode(codeFromErrno(err));
}

}  // namespace quillo
