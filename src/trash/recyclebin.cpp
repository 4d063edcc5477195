// The trash of Windows: each drive's Recycle Bin, X:\$Recycle.Bin\<the
// user's security identifier>, in the form Explorer lists and restores from.
// A trashed file is renamed into it as "$R" + six characters + its
// extension, after its record "$I" + the same has been written beside it.
// A bin that is not the user's own folder on the file's drive is not used:
// the drive counts as one without a trash, and the user is asked. Chosen by
// CMake.
#include <QRandomGenerator>

#include "core/failure.h"
#include "core/paths.h"
#include "platform/usersecurity.h"
#include "trash/recordfiles.h"
#include "trash/recyclerecord.h"
#include "trash/trashcan.h"

namespace quillo {

namespace {

const QString kRecycleBin = QStringLiteral("$Recycle.Bin");
constexpr char kIdChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kIdLength = 6;
// Names tried before a bin counts as one whose names are all taken.
constexpr int kNameTries = 64;
// The longest name NTFS takes, in UTF-16 units.
constexpr qsizetype kMaxNameUnits = 255;

// Refusals and a missing bin say that this drive has no trash for the user;
// other failures say nothing about the drive.
BinLookup noBinOr(const Failure& failure) {
    switch (failure.code) {
        case code::PermissionDenied:
        case code::PathFileAccess:
        case code::PathNotFound:
        case code::FileNotFound:
            return std::unique_ptr<TrashBin>();
        default:
            return failure;
    }
}

QString randomId() {
    QString id;
    for (int i = 0; i < kIdLength; ++i)
        id += QLatin1Char(kIdChars[QRandomGenerator::system()->bounded(int(sizeof kIdChars) - 1)]);
    return id;
}

// What a trashed name keeps of name: its extension, from the last dot on,
// unless the bin's name would grow too long with it.
QString extensionOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return QString();
    const QString extension = name.mid(dot);
    const qsizetype longest = recycledFileName(QString(kIdLength, u'0'), extension).size();
    return longest <= kMaxNameUnits ? extension : QString();
}

// The bin of the held drive root drive (at drivePath, on device): its
// $Recycle.Bin\<sid>, made where missing when make says so: the bins'
// folder as Windows makes it, the user's own private to them. Each folder is
// opened inside the one above, never through a link.
BinLookup binOnDrive(FolderHandle& drive, const QString& drivePath, quint64 device, bool make) {
    const QString sid = currentUserSid();
    if (sid.isEmpty()) return std::unique_ptr<TrashBin>();
    Result<std::unique_ptr<FolderHandle>> recycle = drive.openFolder(kRecycleBin);
    if (!recycle && recycle.failure().code == code::PathNotFound && make) {
        const Status made = makeRecycleFolder(drive, drivePath, kRecycleBin);
        if (!made && made.failure().code != code::FileExists) return noBinOr(made.failure());
        recycle = drive.openFolder(kRecycleBin);
    }
    if (!recycle) return noBinOr(recycle.failure());
    Result<std::unique_ptr<FolderHandle>> own = recycle.value()->openFolder(sid);
    if (!own && own.failure().code == code::PathNotFound && make) {
        const Status made = makePrivateFolder(*recycle.value(), sid);
        if (!made && made.failure().code != code::FileExists) return noBinOr(made.failure());
        own = recycle.value()->openFolder(sid);
    }
    if (!own) return noBinOr(own.failure());
    // Someone else's folder could be read or emptied by them; one on another
    // volume would take no rename.
    const Result<FileInfo> info = own.value()->self();
    if (!info) return info.failure();
    if (info->type != EntryType::Directory || info->device != device)
        return std::unique_ptr<TrashBin>();
    const Result<bool> mine = ownedByCurrentUser(*own.value());
    if (!mine) return noBinOr(mine.failure());
    if (!mine.value()) return std::unique_ptr<TrashBin>();
    auto bin = std::make_unique<TrashBin>();
    bin->root = joinPath(joinPath(drivePath, kRecycleBin), sid);
    bin->files = std::move(own.value());
    return bin;
}

}  // namespace

TrashCan::TrashCan(FileSystem& fs, TrashHome home) : m_fs(fs), m_home(std::move(home)) {}

TrashCan::~TrashCan() = default;

Result<TrashBin*> TrashCan::binFor(FolderHandle& folder) {
    const Result<FileInfo> self = folder.self();
    if (!self) return self.failure();
    const quint64 device = self->device;
    if (const auto known = m_bins.find(device); known != m_bins.end()) return known->second.get();
    BinLookup found = std::unique_ptr<TrashBin>();
    if (const Result<QString> drive = driveOf(folder); !drive) {
        found = noBinOr(drive.failure());
    } else if (Result<std::unique_ptr<FolderHandle>> root = m_fs.openFolder(drive.value()); !root) {
        found = noBinOr(root.failure());
    } else {
        found = binOnDrive(*root.value(), drive.value(), device, true);
    }
    if (!found) return found.failure();
    return m_bins.emplace(device, std::move(found.value())).first->second.get();
}

Result<TrashSlot> TrashCan::freeSlot(TrashBin& bin, const QString& name) {
    const QString extension = extensionOf(name);
    for (int tries = 0; tries < kNameTries; ++tries) {
        const QString id = randomId();
        const QString file = recycledFileName(id, extension);
        // A name is free where neither the file nor its record is there.
        bool free = true;
        for (const QString& taken : {file, recordNameOf(file)}) {
            const Result<FileInfo> there = bin.files->info(taken);
            if (!isMissing(there) && !there) return there.failure();
            free = free && isMissing(there);
        }
        if (free) return TrashSlot{&bin, file, joinPath(bin.root, file)};
    }
    return makeFailure(code::FileExists);
}

Status TrashCan::writeRecord(const TrashSlot& slot, const QString& originalPath, qint64 size) {
    // Created only where nothing is: this is what keeps two programs from
    // taking the same name.
    return slot.bin->files->createFile(
        recordNameOf(slot.name),
        recycleRecordBytes({nativePath(originalPath), size, QDateTime::currentDateTimeUtc()}));
}

BinLookup TrashCan::binOfTrashed(const QString& trashedPath) {
    const QString own = parentFolder(trashedPath);
    const QString recycle = parentFolder(own);
    const QString drive = parentFolder(recycle);
    if (fileNameOf(own) != currentUserSid() ||
        fileNameOf(recycle).compare(kRecycleBin, Qt::CaseInsensitive) != 0 || drive.size() != 2 ||
        rootLength(drive) != 2 || recordNameOf(fileNameOf(trashedPath)).isEmpty())
        return std::unique_ptr<TrashBin>();
    Result<std::unique_ptr<FolderHandle>> root = m_fs.openFolder(drive);
    if (!root) return root.failure();
    const Result<FileInfo> info = root.value()->self();
    if (!info) return info.failure();
    return binOnDrive(*root.value(), drive, info->device, false);
}

bool TrashCan::recordFor(TrashBin& bin, const QString& name, const QString& originalPath) {
    const std::optional<QByteArray> bytes = readRecordFile(*bin.files, recordNameOf(name));
    if (!bytes) return false;
    const std::optional<RecycleRecord> record = parseRecycleRecord(*bytes);
    return record && record->path.compare(nativePath(originalPath), pathCase()) == 0;
}

FolderHandle& TrashCan::recordFolder(TrashBin& bin) {
    return *bin.files;
}

QString TrashCan::recordName(const QString& name) {
    return recordNameOf(name);
}

}  // namespace quillo
