#pragma once
// Small helpers for building fixture trees in a QTemporaryDir.

#include <QByteArray>
#include <QString>

namespace quillo::test {

// Writes bytes to path, creating missing folders; fails the test run on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
bool exists(const QString& path);
void makeDir(const QString& path);

}  // namespace quillo::test
