#pragma once
// Moving files into the desktop trash instead of deleting them, and back.
// Every step happens inside held folders: the trash's files/ and info/
// folders are checked once and then used as held, so that a folder swapped
// or renamed meanwhile (by another user on a shared drive) never receives a
// file.

#include <QHash>
#include <QString>
#include <optional>
#include <unordered_map>

#include "core/result.h"
#include "platform/filesystem.h"
#include "trash/trashhome.h"
#include "trash/trashplace.h"

namespace quillo {

// A free place in a trash.
struct TrashSlot {
    TrashBin* bin = nullptr;
    QString name;      // in files/; its record is name + ".trashinfo" in info/
    QString filePath;  // where the file will be, as the journal names it
};

// The trash of one run: each file system's trash is looked up once, however
// many of its files are trashed. Used by one thread at a time.
class TrashCan {
  public:
    TrashCan(FileSystem& fs, TrashHome home);
    ~TrashCan();

    // The trash that the files of the held folder go to: nullptr when their
    // drive has no trash this user may use; a failure when it could not be
    // looked for (the folder gone, say), which is not remembered.
    Result<TrashBin*> binFor(FolderHandle& folder);

    // A name in bin free for a file called name; shortened where its record's
    // name would grow too long for the file system.
    Result<TrashSlot> freeSlot(TrashBin& bin, const QString& name);

    // Writes the record of slot, for a file of size bytes that was at
    // originalPath; 58 when another program has taken the name since.
    Status writeRecord(const TrashSlot& slot, const QString& originalPath, qint64 size);

    // Moves name out of the held folder into slot, never replacing anything.
    Status moveIn(FolderHandle& folder, const QString& name, const TrashSlot& slot);

    // Gives a slot back: removes its record.
    Status release(const TrashSlot& slot);

    // Puts the trashed file at trashedPath, as long as it is still expected,
    // into the held folder to as toName, never replacing anything; then
    // removes its record, but only the record the trash wrote for that file
    // at originalPath.
    Status takeBack(const QString& trashedPath, const FileInfo& expected, FolderHandle& to,
                    const QString& toName, const QString& originalPath);

    // Removes the record of a file that never reached the trash (a run killed
    // between the two), when it is the trash's record for originalPath.
    void forgetRecord(const QString& trashedPath, const QString& originalPath);

  private:
    std::optional<quint64> homeDevice();
    // The bin at the root of trashedPath (".../files/name"), held again.
    BinLookup binOfTrashed(const QString& trashedPath);
    bool recordFor(TrashBin& bin, const QString& name, const QString& originalPath);
    // Where a trash keeps the record of its file called name, and its name.
    static FolderHandle& recordFolder(TrashBin& bin);
    static QString recordName(const QString& name);

    FileSystem& m_fs;
    TrashHome m_home;
    bool m_homeLooked = false;
    std::optional<quint64> m_homeDevice;  // none when it could not be found
    // Per device the bin found, or nullptr: none there.
    std::unordered_map<quint64, std::unique_ptr<TrashBin>> m_bins;
    // Per bin and name, the last number found free: a name trashed many
    // times in a run does not probe every earlier number again.
    QHash<QString, int> m_nextNumber;
};

}  // namespace quillo
