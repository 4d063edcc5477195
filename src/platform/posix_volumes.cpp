#include <QStringList>
#include <algorithm>

#include "platform/volumes.h"

namespace quillo {

namespace {
bool under(const QString& path, const QString& root) {
    return path == root || path.startsWith(root + QLatin1Char('/'));
}
}  // namespace

QString mainVolume() {
    return QStringLiteral("/");
}

bool isSystemVolume(const QString& root) {
    // Removable media are mounted under /run/media and stay.
    if (under(root, QStringLiteral("/run/media"))) return false;
    static const QStringList hidden = {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                       QStringLiteral("/dev"), QStringLiteral("/run")};
    return std::any_of(hidden.begin(), hidden.end(),
                       [&](const QString& h) { return under(root, h); });
}

}  // namespace quillo
