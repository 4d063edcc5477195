#pragma once
// Small helpers for building fixture trees in a QTemporaryDir.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace quillo::test {

// Writes bytes to path, creating missing folders; fails the test run on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
bool exists(const QString& path);
void makeDir(const QString& path);
// Every file under root (path -> bytes), the folders under root named in skip
// left out: what an undo must give back exactly.
QMap<QString, QByteArray> treeContents(const QString& root, const QStringList& skip = {});

}  // namespace quillo::test
