#include "core/paths.h"

#include <QDir>

#include "core/failure.h"

namespace quillo {

bool isAbsoluteFolder(const QString& folder) {
    return !folder.startsWith(QLatin1Char(':')) && QDir::isAbsolutePath(folder);
}

QString folderPrefix(const QString& folder) {
    if (folder.endsWith(kSeparator)) return folder;
    return folder + kSeparator;
}

QString joinPath(const QString& folder, const QString& name) {
    return folderPrefix(folder) + name;
}

Result<QString> destinationPrefix(const QString& folder) {
    // The prefix, not the setting, is tested: a drive root held as its bare
    // drive is absolute only with its separator.
    const QString prefix = folderPrefix(folder);
    if (folder.isEmpty() || !isAbsoluteFolder(prefix) || folder.contains(QChar(u'\0')))
        return makeFailure(code::PathNotFound);
    return prefix;
}

QString parentFolder(const QString& path) {
    const QString folder = folderSetting(path);
    const qsizetype cut = folder.lastIndexOf(kSeparator);
    if (cut <= 0) return QString(kSeparator);
    return folder.left(cut);
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(kSeparator) + 1);
}

QString folderSetting(const QString& path) {
    QString s = path;
    while (s.size() > 1 && s.endsWith(kSeparator)) s.chop(1);
    return s;
}

}  // namespace quillo
