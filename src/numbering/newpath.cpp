#include "numbering/newpath.h"

#include "core/failure.h"
#include "core/paths.h"

namespace quillo {

QString extensionPart(const QString& extension, CheckValue chkJpegJpg) {
    if (chkJpegJpg == CheckValue::On && extension == QLatin1String(".JPEG"))
        return QStringLiteral(".JPG");
    return extension;
}

Result<QString> newPath(const QString& folderPart, const QString& fileName) {
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String("..") ||
        fileName.contains(kSeparator) || fileName.contains(QChar(u'\0')))
        return makeFailure(code::BadFileName);
    return folderPart + fileName;
}

}  // namespace quillo
