#include "trash/trashplace.h"

#include <optional>

#include "core/failure.h"
#include "core/paths.h"

namespace quillo {

namespace {

constexpr uint kStickyBit = 01000;

// A folder that exists or was just made, by this run or another program.
bool madeOrThere(const Status& made) {
    return made || made.failure().code == code::FileExists;
}

// Creates path and the missing folders above it.
Status makeFolders(FileSystem& fs, const QString& path) {
    const Status made = fs.makeFolder(path);
    if (madeOrThere(made)) return {};
    const QString above = parentFolder(path);
    if (made.failure().code != code::PathNotFound || above == path) return made;
    if (const Status up = makeFolders(fs, above); !up) return up;
    const Status again = fs.makeFolder(path);
    return madeOrThere(again) ? Status() : again;
}

// Files moved into a link could land anywhere, and a trash owned by someone
// else could be read or emptied by them: neither is used.
Status checkFolder(FileSystem& fs, const QString& path, quint64 device, std::optional<uint> owner) {
    const Result<FileInfo> info = fs.info(path);
    if (!info) return info.failure();
    if (info->type != EntryType::Directory || info->device != device ||
        (owner && info->owner != *owner))
        return makeFailure(code::PathFileAccess);
    return {};
}

// root with its files/ and info/ folders, each made where missing and checked.
Result<TrashPlace> prepare(FileSystem& fs, const QString& root, const QString& topdir,
                           quint64 device, std::optional<uint> owner) {
    for (const QString& path :
         {root, joinPath(root, QStringLiteral("files")), joinPath(root, QStringLiteral("info"))}) {
        if (const Status made = fs.makeFolder(path); !madeOrThere(made)) return made.failure();
        if (const Status checked = checkFolder(fs, path, device, owner); !checked)
            return checked.failure();
    }
    return TrashPlace{root, topdir};
}

QString homeTrashFolder(const QString& dataHome) {
    return joinPath(dataHome, QStringLiteral("Trash"));
}

}  // namespace

Result<quint64> homeTrashDevice(FileSystem& fs, const QString& dataHome) {
    // Through links: the trash is wherever its path leads.
    for (QString path = homeTrashFolder(dataHome);; path = parentFolder(path)) {
        const Result<QString> real = fs.canonicalFolder(path);
        if (real) {
            const Result<FileInfo> info = fs.info(real.value());
            if (!info) return info.failure();
            return info->device;
        }
        if (real.failure().code != code::PathNotFound || parentFolder(path) == path)
            return real.failure();
    }
}

Result<TrashPlace> prepareHomeTrash(FileSystem& fs, const QString& dataHome, quint64 device) {
    const QString trash = homeTrashFolder(dataHome);
    if (const Status made = makeFolders(fs, trash); !made) return made.failure();
    const Result<QString> real = fs.canonicalFolder(trash);
    if (!real) return real.failure();
    // Whoever runs the program with another user's home uses that trash.
    return prepare(fs, real.value(), QString(), device, std::nullopt);
}

Result<QString> fileSystemTop(FileSystem& fs, const QString& folder, quint64 device) {
    const Result<QString> real = fs.canonicalFolder(folder);
    if (!real) return real.failure();
    const Result<FileInfo> start = fs.info(real.value());
    if (!start) return start.failure();
    if (start->device != device) return makeFailure(code::PathFileAccess);
    QString top = real.value();
    for (QString up = parentFolder(top); up != top; up = parentFolder(top)) {
        const Result<FileInfo> info = fs.info(up);
        if (!info) return info.failure();
        if (info->device != device) break;
        top = up;
    }
    return top;
}

Result<TrashPlace> prepareTopTrash(FileSystem& fs, const QString& top, quint64 device, uint uid) {
    const QString id = QString::number(uid);
    // A shared trash every user may write to is safe only with the sticky
    // bit (no one removes another's folder) and as a real folder.
    const QString shared = joinPath(top, QStringLiteral(".Trash"));
    const Result<FileInfo> info = fs.info(shared);
    if (info && info->type == EntryType::Directory && (info->mode & kStickyBit)) {
        Result<TrashPlace> place = prepare(fs, joinPath(shared, id), top, device, uid);
        if (place) return place;
    }
    return prepare(fs, joinPath(top, QStringLiteral(".Trash-") + id), top, device, uid);
}

}  // namespace quillo
