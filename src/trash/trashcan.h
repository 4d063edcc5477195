#pragma once
// Moving files into the desktop trash instead of deleting them, and back.

#include <QHash>
#include <QString>
#include <optional>
#include <unordered_map>

#include "core/result.h"
#include "platform/filesystem.h"
#include "trash/trashhome.h"
#include "trash/trashplace.h"

namespace quillo {

// A reserved place in a trash.
struct TrashSlot {
    QString filePath;  // where the file is to be moved
    QString infoPath;  // its record, already written
};

// The trash of one run: each file system's trash is looked up once, however
// many of its files are trashed. Used by one thread at a time.
class TrashCan {
  public:
    TrashCan(FileSystem& fs, TrashHome home);

    // Whether the files of device (the file at originalPath being one of
    // them) have a trash on their own file system.
    Status trashFor(const QString& originalPath, quint64 device);

    // Reserves a free name in the trash for the file at originalPath (on
    // device) by creating its record. The caller then moves the file to
    // filePath, never replacing anything, and releases the slot if that fails.
    Result<TrashSlot> reserve(const QString& originalPath, quint64 device);

    // Gives a reservation back: removes its record.
    Status release(const TrashSlot& slot);

  private:
    Result<TrashPlace> placeFor(const QString& originalPath, quint64 device);
    std::optional<quint64> homeDevice();

    FileSystem& m_fs;
    TrashHome m_home;
    bool m_homeLooked = false;
    std::optional<quint64> m_homeDevice;  // none when it could not be found
    std::unordered_map<quint64, Result<TrashPlace>> m_places;
    // Per trash and name, the first number not tried yet: a name trashed many
    // times in a run does not probe every earlier number again.
    QHash<QString, int> m_nextNumber;
};

}  // namespace quillo
