// The per-user folders of the freedesktop.org desktops.
#include <QDir>
#include <QStandardPaths>

#include "core/paths.h"
#include "platform/userfolders.h"

namespace quillo {

QString userDataFolder() {
    // A relative value would depend on where the program was started.
    const QString set = qEnvironmentVariable("XDG_DATA_HOME");
    if (isAbsoluteFolder(set)) return folderSetting(set);
    return joinPath(QDir::homePath(), QStringLiteral(".local/share"));
}

QString userConfigFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) return {};
    return joinPath(base, QStringLiteral("Quillo"));
}

}  // namespace quillo
