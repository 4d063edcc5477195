#include <QApplication>

#include "app/settings.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "ui/mainwindow.h"
#include "ui/qtmessagebox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Names the per-user data folder that holds the journals (~/.local/share/Quillo).
    QCoreApplication::setApplicationName(QStringLiteral("Quillo"));
    quillo::QtMessageBox box;
    quillo::frmQuillo window(quillo::settingsFilePath(QCoreApplication::applicationDirPath()),
                             quillo::systemFileSystem(), box, quillo::systemClock());
    box.setParent(&window);
    window.show();
    return app.exec();
}
