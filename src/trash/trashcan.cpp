#include "trash/trashcan.h"

#include <QDateTime>

#include "core/failure.h"
#include "core/paths.h"
#include "platform/posixaccess.h"
#include "trash/recordfiles.h"
#include "trash/trashinfo.h"

namespace quillo {

namespace {

// The longest name most file systems take, in bytes.
constexpr qsizetype kMaxNameBytes = 255;
// The extension a shortened name keeps, when it has one this short.
constexpr qsizetype kMaxKeptExtension = 16;

QString numbered(const QString& name, int number) {
    return number == 1 ? name : name + QLatin1Char('.') + QString::number(number);
}

bool fits(const QString& name) {
    return encodeName(trashInfoName(name)).size() <= kMaxNameBytes;
}

// The name of the number-th try for a file called name: the name itself
// while its record's name fits, else its start and its extension around a
// "~", so that a trashed file keeps its kind; its record keeps its path.
QString slotName(const QString& name, int number) {
    const QString whole = numbered(name, number);
    if (fits(whole)) return whole;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension =
        dot > 0 && name.size() - dot <= kMaxKeptExtension ? name.mid(dot) : QString();
    QString stem = name.left(name.size() - extension.size());
    while (!stem.isEmpty()) {
        stem.chop(stem.size() > 1 && stem.at(stem.size() - 1).isLowSurrogate() ? 2 : 1);
        const QString candidate = numbered(stem + QLatin1Char('~') + extension, number);
        if (fits(candidate)) return candidate;
    }
    return numbered(QStringLiteral("~"), number);
}

// The path a record holds: relative to the top of the file system where the
// trash is there and the path lies under it, else absolute.
QString recordedPath(const TrashBin& bin, const QString& originalPath) {
    if (bin.topdir.isEmpty()) return originalPath;
    const QString top = folderPrefix(bin.topdir);
    return originalPath.startsWith(top) ? originalPath.mid(top.size()) : originalPath;
}

}  // namespace

TrashCan::TrashCan(FileSystem& fs, TrashHome home) : m_fs(fs), m_home(std::move(home)) {}

TrashCan::~TrashCan() = default;

std::optional<quint64> TrashCan::homeDevice() {
    if (!m_homeLooked) {
        m_homeLooked = true;
        const Result<quint64> device = homeTrashDevice(m_fs, m_home.dataHome);
        if (device) m_homeDevice = device.value();
    }
    return m_homeDevice;
}

Result<TrashBin*> TrashCan::binFor(FolderHandle& folder) {
    const Result<FileInfo> self = folder.self();
    if (!self) return self.failure();
    const quint64 device = self->device;
    if (const auto known = m_bins.find(device); known != m_bins.end()) return known->second.get();
    BinLookup found = homeDevice() == device
                          ? homeTrashBin(m_fs, m_home.dataHome, currentUserId(), device)
                          : topTrashBin(folder, currentUserId());
    if (!found) return found.failure();
    return m_bins.emplace(device, std::move(found.value())).first->second.get();
}

Result<TrashSlot> TrashCan::freeSlot(TrashBin& bin, const QString& name) {
    int& number = m_nextNumber[bin.root + QLatin1Char('/') + name];
    for (number = qMax(number, 1);; ++number) {
        const QString free = slotName(name, number);
        // A name is free where neither the file nor its record is there.
        const Result<FileInfo> file = bin.files->info(free);
        if (!isMissing(file)) {
            if (file) continue;
            return file.failure();
        }
        const Result<FileInfo> record = bin.info->info(trashInfoName(free));
        if (!isMissing(record)) {
            if (record) continue;
            return record.failure();
        }
        return TrashSlot{&bin, free, joinPath(joinPath(bin.root, QStringLiteral("files")), free)};
    }
}

Status TrashCan::writeRecord(const TrashSlot& slot, const QString& originalPath, qint64) {
    // Created only where nothing is: this is what keeps two programs from
    // taking the same name.
    return slot.bin->info->createFile(
        trashInfoName(slot.name),
        trashInfoText(recordedPath(*slot.bin, originalPath), QDateTime::currentDateTime()));
}

BinLookup TrashCan::binOfTrashed(const QString& trashedPath) {
    const QString files = parentFolder(trashedPath);
    if (fileNameOf(files) != QStringLiteral("files")) return std::unique_ptr<TrashBin>();
    return trashBinAt(m_fs, parentFolder(files), currentUserId());
}

bool TrashCan::recordFor(TrashBin& bin, const QString& name, const QString& originalPath) {
    const std::optional<QByteArray> text = readRecordFile(*bin.info, trashInfoName(name));
    if (!text) return false;
    const std::optional<QString> path = trashInfoPath(*text);
    return path && (*path == originalPath || *path == recordedPath(bin, originalPath));
}

FolderHandle& TrashCan::recordFolder(TrashBin& bin) {
    return *bin.info;
}

QString TrashCan::recordName(const QString& name) {
    return trashInfoName(name);
}

}  // namespace quillo
