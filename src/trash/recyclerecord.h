#pragma once
// The record Windows keeps in its Recycle Bin beside each file ("$I…" beside
// "$R…"): where the file was, how big it was and when it was removed. It is
// what Explorer lists and restores from, so its bytes are exactly Windows
// 10's. Plain bytes: built and read the same on every system.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace quillo {

struct RecycleRecord {
    QString path;       // the original path as Windows writes it ("C:\…\a.jpg")
    qint64 size = 0;    // of the file, in bytes
    QDateTime removed;  // when it went into the bin
};

// The bytes of a record: version 2, the size, the time as a FILETIME (UTC),
// the path's length in UTF-16 units with its terminating null, the path in
// UTF-16LE and the null.
QByteArray recycleRecordBytes(const RecycleRecord& record);

// The record in bytes; nothing for bytes that are no version 2 record in
// full (cut short, longer than their path, another version, no path).
std::optional<RecycleRecord> parseRecycleRecord(QByteArrayView bytes);

// The bin's name for a trashed file: "$R", six characters of [A-Z0-9], and
// the original extension.
QString recycledFileName(const QString& id, const QString& extension);
// The name of its record ("$I" and the same); empty for a name the bin did
// not give ("$R…").
QString recordNameOf(const QString& recycledName);

}  // namespace quillo
