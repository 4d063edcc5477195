#include <windows.h>

#include "platform/volumes.h"

namespace quillo {

// The drive Windows itself lies on, as a bare drive ("C:").
QString mainVolume() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (n >= 2 && n < MAX_PATH && folder[1] == L':') return QString::fromWCharArray(folder, 2);
    return QStringLiteral("C:");
}

// A drive letter that leads nowhere (a mapping whose target is gone) holds no
// user folders; every other drive does, removable ones included.
bool isSystemVolume(const QString& root) {
    const std::wstring drive = (root + QLatin1Char('\\')).toStdWString();
    const UINT type = ::GetDriveTypeW(drive.c_str());
    return type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN;
}

}  // namespace quillo
