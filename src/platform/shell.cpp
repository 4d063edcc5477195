#include "platform/shell.h"

#include <QProcess>
#include <QStringList>

namespace quillo {

bool shellOpen(const QString& target) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{target});
}

}  // namespace quillo
