#include "files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quillo::test {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write fixture %s\n", qPrintable(path));
        std::abort();
    }
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool exists(const QString& path) {
    return QFileInfo::exists(path);
}

void makeDir(const QString& path) {
    QDir().mkpath(path);
}

QMap<QString, QByteArray> treeContents(const QString& root, const QStringList& skip) {
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString inside = path.mid(root.size() + 1);
        if (std::any_of(skip.begin(), skip.end(),
                        [&](const QString& s) { return inside.startsWith(s + QLatin1Char('/')); }))
            continue;
        out.insert(inside, readFile(path));
    }
    return out;
}

QString recycleBinDrive(RecycleBinOf whose) {
    switch (whose) {
        case RecycleBinOf::User:
            return qEnvironmentVariable("QUILLO_TEST_RECYCLE_DRIVE");
        case RecycleBinOf::AnotherUser:
            return qEnvironmentVariable("QUILLO_TEST_FOREIGN_RECYCLE_DRIVE");
        case RecycleBinOf::NoneOnRemovable:
            return qEnvironmentVariable("QUILLO_TEST_REMOVABLE_DRIVE");
    }
    return {};
}

bool heldOnceSaid(QProcess& process) {
    if (!process.waitForStarted()) return false;
    while (!process.canReadLine())
        if (!process.waitForReadyRead(-1)) return false;
    return process.readLine().trimmed() == "held";
}

}  // namespace quillo::test
