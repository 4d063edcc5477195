#include "trash/trashhome.h"

#include <QDir>

#include "core/paths.h"
#include "platform/filesystem.h"

namespace quillo {

TrashHome TrashHome::fromEnvironment() {
    TrashHome home;
    // A relative value would depend on where the program was started: ignored.
    const QString set = qEnvironmentVariable("XDG_DATA_HOME");
    home.dataHome = isAbsoluteFolder(set)
                        ? folderSetting(set)
                        : joinPath(QDir::homePath(), QStringLiteral(".local/share"));
    home.uid = currentUserId();
    return home;
}

}  // namespace quillo
