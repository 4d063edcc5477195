#include <QDir>
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

// A relative $XDG_DATA_HOME would depend on where the program was started.
std::vector<DataFolderCase> userDataFolderCases() {
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/share");
    return {{"absolute", "/srv/data/", QStringLiteral("/srv/data")},
            {"relative", "data", fallback},
            {"empty", {}, fallback}};
}

}  // namespace quillo::test
