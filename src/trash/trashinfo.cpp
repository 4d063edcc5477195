#include "trash/trashinfo.h"

#include "core/paths.h"
#include "platform/filesystem.h"

namespace quillo {

QByteArray trashInfoText(const QString& path, const QDateTime& when) {
    // The path as the kernel's bytes, escaped like a URL path: separators stay.
    const QByteArray escaped = encodeName(path).toPercentEncoding(QByteArrayLiteral("/"));
    const QString date = when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    return QByteArrayLiteral("[Trash Info]\nPath=") + escaped +
           QByteArrayLiteral("\nDeletionDate=") + date.toLatin1() + '\n';
}

QString trashInfoPathOf(const QString& trashedFilePath) {
    const QString name = fileNameOf(trashedFilePath);
    const QString root = parentFolder(parentFolder(trashedFilePath));
    return joinPath(root, QStringLiteral("info/")) + name + QStringLiteral(".trashinfo");
}

}  // namespace quillo
