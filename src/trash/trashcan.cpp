#include "trash/trashcan.h"

#include <QDateTime>

#include "core/failure.h"
#include "core/paths.h"
#include "trash/trashinfo.h"

namespace quillo {

namespace {

// The path a record holds: relative to the top of the file system where the
// trash is there and the path lies under it, else absolute.
QString recordedPath(const TrashPlace& place, const QString& originalPath) {
    if (place.topdir.isEmpty()) return originalPath;
    const QString top = folderPrefix(place.topdir);
    return originalPath.startsWith(top) ? originalPath.mid(top.size()) : originalPath;
}

QString numbered(const QString& name, int number) {
    return number == 1 ? name : name + QLatin1Char('.') + QString::number(number);
}

}  // namespace

TrashCan::TrashCan(FileSystem& fs, TrashHome home) : m_fs(fs), m_home(std::move(home)) {}

std::optional<quint64> TrashCan::homeDevice() {
    if (!m_homeLooked) {
        m_homeLooked = true;
        const Result<quint64> device = homeTrashDevice(m_fs, m_home.dataHome);
        if (device) m_homeDevice = device.value();
    }
    return m_homeDevice;
}

Result<TrashPlace> TrashCan::placeFor(const QString& originalPath, quint64 device) {
    if (const auto known = m_places.find(device); known != m_places.end()) return known->second;
    if (homeDevice() == device) {
        return m_places.emplace(device, prepareHomeTrash(m_fs, m_home.dataHome, device))
            .first->second;
    }
    // A folder gone since is that file's trouble, not its file system's: not
    // remembered.
    const Result<QString> top = fileSystemTop(m_fs, parentFolder(originalPath), device);
    if (!top) return top.failure();
    return m_places.emplace(device, prepareTopTrash(m_fs, top.value(), device, m_home.uid))
        .first->second;
}

Status TrashCan::trashFor(const QString& originalPath, quint64 device) {
    const Result<TrashPlace> place = placeFor(originalPath, device);
    if (!place) return place.failure();
    return {};
}

Result<TrashSlot> TrashCan::reserve(const QString& originalPath, quint64 device) {
    const Result<TrashPlace> place = placeFor(originalPath, device);
    if (!place) return place.failure();
    const QString name = fileNameOf(originalPath);
    const QString files = joinPath(place->root, QStringLiteral("files/"));
    const QString info = joinPath(place->root, QStringLiteral("info/"));
    const QByteArray record =
        trashInfoText(recordedPath(place.value(), originalPath), QDateTime::currentDateTime());
    int& number = m_nextNumber[info + name];
    for (number = qMax(number, 1);; ++number) {
        const QString free = numbered(name, number);
        const TrashSlot slot{files + free, info + free + QStringLiteral(".trashinfo")};
        // Both folders are looked at; creating the record only where none
        // exists is what keeps two programs from taking the same name.
        const Result<FileInfo> taken = m_fs.info(slot.filePath);
        if (taken) continue;
        if (taken.failure().code != code::FileNotFound) return taken.failure();
        const Status created = m_fs.createFile(slot.infoPath, record);
        if (created) {
            ++number;
            return slot;
        }
        if (created.failure().code != code::FileExists) return created.failure();
    }
}

Status TrashCan::release(const TrashSlot& slot) {
    return m_fs.remove(slot.infoPath);
}

}  // namespace quillo
