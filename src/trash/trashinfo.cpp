#include "trash/trashinfo.h"

#include "platform/filesystem.h"

namespace quillo {

namespace {
constexpr QByteArrayView kHeader = "[Trash Info]\n";
constexpr QByteArrayView kPathKey = "Path=";
}  // namespace

QByteArray trashInfoText(const QString& path, const QDateTime& when) {
    // The path as the kernel's bytes, escaped like a URL path: separators stay.
    const QByteArray escaped = encodeName(path).toPercentEncoding(QByteArrayLiteral("/"));
    const QString date = when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    return kHeader.toByteArray() + kPathKey.toByteArray() + escaped +
           QByteArrayLiteral("\nDeletionDate=") + date.toLatin1() + '\n';
}

std::optional<QString> trashInfoPath(QByteArrayView text) {
    if (!text.startsWith(kHeader)) return std::nullopt;
    for (qsizetype from = kHeader.size(); from < text.size();) {
        qsizetype lf = text.indexOf('\n', from);
        if (lf < 0) lf = text.size();
        const QByteArrayView line = text.sliced(from, lf - from);
        if (line.startsWith(kPathKey)) {
            const QByteArray bytes =
                QByteArray::fromPercentEncoding(line.sliced(kPathKey.size()).toByteArray());
            QString path;
            if (bytes.isEmpty() || bytes.contains('\0') ||
                !decodeName(bytes.constData(), bytes.size(), &path))
                return std::nullopt;
            return path;
        }
        from = lf + 1;
    }
    return std::nullopt;
}

QString trashInfoName(const QString& name) {
    return name + QStringLiteral(".trashinfo");
}

}  // namespace quillo
