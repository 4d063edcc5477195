#include <QProcess>
#include <QStringList>

#include "platform/shell.h"

namespace quillo {

// xdg-open, watched to its end: it exits non-zero when no program takes the
// target (QDesktopServices reports success as soon as xdg-open has started).
// The process has no parent, so quitting does not kill an opener that waits
// for its browser.
void shellOpen(const QString& target, QObject* context, std::function<void(bool)> done) {
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({target});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, context,
                     [done](int code, QProcess::ExitStatus status) {
                         done(status == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(opener, &QProcess::errorOccurred, context,
                     [opener, done](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart) {
                             done(false);
                             opener->deleteLater();
                         }
                     });
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start();
}

}  // namespace quillo
