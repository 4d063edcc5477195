#include "platform/paths.h"

#include "platform/failure.h"

namespace quillo {

QString folderPrefix(const QString& folder) {
    if (folder.endsWith(kSeparator)) return folder;
    return folder + kSeparator;
}

QString joinPath(const QString& folder, const QString& name) {
    return folderPrefix(folder) + name;
}

Result<QString> destinationPrefix(const QString& folder) {
    if (!folder.startsWith(kSeparator) || folder.contains(QChar(u'\0')))
        return makeFailure(code::PathNotFound);
    return folderPrefix(folder);
}

QString parentFolder(const QString& path) {
    const QString folder = folderSetting(path);
    const qsizetype cut = folder.lastIndexOf(kSeparator);
    if (cut <= 0) return QString(kSeparator);
    return folder.left(cut);
}

QString folderSetting(const QString& path) {
    QString s = path;
    while (s.size() > 1 && s.endsWith(kSeparator)) s.chop(1);
    return s;
}

}  // namespace quillo
