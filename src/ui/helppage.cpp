#include "ui/helppage.h"

#include <QDir>
#include <QFileInfo>

namespace quillo {

QString findHelpPage(const QString& executableFolder) {
    const QDir dir(executableFolder);
    const QString beside = dir.absoluteFilePath(QStringLiteral("help/index.html"));
    const QString installed =
        QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("../share/quillo/help/index.html")));
    for (const QString& candidate : {beside, installed})
        if (QFileInfo(candidate).isFile()) return candidate;
    return beside;
}

QString cannotOpenHelpMessage(const QString& page) {
    return QStringLiteral(
               "ヘルプページを開けませんでした。ブラウザで次のファイルを開いてください。\n") +
           QDir::toNativeSeparators(page);
}

}  // namespace quillo
