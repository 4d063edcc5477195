#pragma once
// The record kept beside each trashed file: where it came from and when.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quillo {

// The text of a .trashinfo file for a file that was at path (absolute, or
// relative to the top of its file system) and was trashed at when (local time).
QByteArray trashInfoText(const QString& path, const QDateTime& when);

// The record of a trashed file: ".../files/x" -> ".../info/x.trashinfo".
QString trashInfoPathOf(const QString& trashedFilePath);

}  // namespace quillo
