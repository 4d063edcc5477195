#pragma once
// A main window on a temporary settings file, with a clock the test moves and
// a record of every settings write.

#include <QEventLoop>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "platform/clock.h"
#include "platform/cp932codec.h"
#include "scriptedmessagebox.h"
#include "ui/mainwindow.h"

namespace quillo::test {

class FakeClock : public Clock {
  public:
    double now = 100.0;
    double seconds() override { return now; }
};

class TestWindow : public frmQuillo {
  public:
    TestWindow(const QString& path, FileSystem& fs, MessageBox& box, Clock& clock)
        : frmQuillo(path, fs, box, clock), settingsPath(path) {}
    QString settingsPath;
    int outerHeight = -1;      // twips the shutdown rule sees; -1: the real height
    QList<QByteArray> writes;  // the file's bytes after each SaveSettings

    int outerHeightTwips() const override {
        return outerHeight >= 0 ? outerHeight : frmQuillo::outerHeightTwips();
    }
    void SaveSettings() override {
        frmQuillo::SaveSettings();
        QFile file(settingsPath);
        writes << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
};

// CRLF lines in CP932, as the settings file holds them.
inline QByteArray settingsBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += *encodeCp932(line) + QByteArrayLiteral("\r\n");
    return bytes;
}

// Lets the event loop run until the window's command has ended and its
// outcome is applied, and no further: timers due after it have not run yet.
inline bool finishCommand(const frmQuillo& w) {
    if (!w.commandRunning()) return true;
    QEventLoop loop;
    QObject::connect(&w, &frmQuillo::commandFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return !w.commandRunning();
}

template <class W>
W* child(QWidget* window, const char* name) {
    return window->findChild<W*>(QLatin1String(name));
}

}  // namespace quillo::test
