#include "platform/paths.h"

namespace quillo {

QString folderPrefix(const QString& folder) {
    if (folder.endsWith(kSeparator)) return folder;
    return folder + kSeparator;
}

QString joinPath(const QString& folder, const QString& name) {
    return folderPrefix(folder) + name;
}

QString folderSetting(const QString& path) {
    QString s = path;
    while (s.size() > 1 && s.endsWith(kSeparator)) s.chop(1);
    return s;
}

}  // namespace quillo
