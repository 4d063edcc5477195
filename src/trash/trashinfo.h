#pragma once
// The record kept beside each trashed file: where it came from and when.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace quillo {

// The text of a .trashinfo file for a file that was at path (absolute, or
// relative to the top of its file system) and was trashed at when (local time).
QByteArray trashInfoText(const QString& path, const QDateTime& when);

// The path a record's text holds; nothing for a text that is no record.
std::optional<QString> trashInfoPath(QByteArrayView text);

// The record of the trashed file name: name + ".trashinfo".
QString trashInfoName(const QString& name);

}  // namespace quillo
