#include "trash/trashplace.h"

#include "core/failure.h"
#include "core/paths.h"
#include "platform/posixaccess.h"

namespace quillo {

namespace {

constexpr uint kStickyBit = 01000;
constexpr uint kOthersWrite = 0022;

const QString kFiles = QStringLiteral("files");
const QString kInfo = QStringLiteral("info");
const QString kHomeTrash = QStringLiteral("Trash");
const QString kShared = QStringLiteral(".Trash");

QString ownTopTrash(uint uid) {
    return QStringLiteral(".Trash-") + QString::number(uid);
}

// A trash that another user owns could be read or emptied by them, and one
// that others may write to could be swapped under the program: neither is
// used.
bool ownFolder(const FileInfo& info, const PosixAccess& access, uint uid, quint64 device) {
    return info.type == EntryType::Directory && info.device == device && access.owner == uid &&
           (access.mode & kOthersWrite) == 0;
}

// Refusals say that this drive has no trash for the user (a folder that
// cannot be made, a link, someone else's folder); other failures say
// nothing about the drive.
BinLookup noBinOr(const Failure& failure) {
    if (failure.code == code::PermissionDenied || failure.code == code::PathFileAccess)
        return std::unique_ptr<TrashBin>();
    return failure;
}

// The folder name inside parent, made where missing, held.
Result<std::unique_ptr<FolderHandle>> holdOrMake(FolderHandle& parent, const QString& name) {
    Result<std::unique_ptr<FolderHandle>> held = parent.openFolder(name);
    if (held || held.failure().code != code::PathNotFound) return held;
    const Status made = parent.makeFolder(name);
    if (!made && made.failure().code != code::FileExists) return made.failure();
    return parent.openFolder(name);
}

Result<bool> isOwn(FolderHandle& folder, uint uid, quint64 device) {
    const Result<FileInfo> info = folder.self();
    if (!info) return info.failure();
    const Result<PosixAccess> access = posixAccess(folder);
    if (!access) return access.failure();
    return ownFolder(info.value(), access.value(), uid, device);
}

// The bin of the held trash folder root: its files/ and info/ folders,
// made where missing when make says so, each checked to be the user's own.
BinLookup binOf(std::unique_ptr<FolderHandle> root, const QString& rootPath, const QString& topdir,
                uint uid, quint64 device, bool make) {
    const Result<bool> own = isOwn(*root, uid, device);
    if (!own) return own.failure();
    if (!own.value()) return std::unique_ptr<TrashBin>();
    auto bin = std::make_unique<TrashBin>();
    bin->root = rootPath;
    bin->topdir = topdir;
    for (auto [name, into] : {std::pair{kFiles, &bin->files}, std::pair{kInfo, &bin->info}}) {
        Result<std::unique_ptr<FolderHandle>> held =
            make ? holdOrMake(*root, name) : root->openFolder(name);
        if (!held) return noBinOr(held.failure());
        const Result<bool> ownSub = isOwn(*held.value(), uid, device);
        if (!ownSub) return ownSub.failure();
        if (!ownSub.value()) return std::unique_ptr<TrashBin>();
        *into = std::move(held.value());
    }
    return bin;
}

// The trash folder name inside parent (made where missing), as a bin.
BinLookup binIn(FolderHandle& parent, const QString& name, const QString& rootPath,
                const QString& topdir, uint uid, quint64 device) {
    Result<std::unique_ptr<FolderHandle>> root = holdOrMake(parent, name);
    if (!root) return noBinOr(root.failure());
    return binOf(std::move(root.value()), rootPath, topdir, uid, device, true);
}

}  // namespace

Result<quint64> homeTrashDevice(FileSystem& fs, const QString& dataHome) {
    // Through links: the trash is wherever its path leads.
    for (QString path = joinPath(dataHome, kHomeTrash);; path = parentFolder(path)) {
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

BinLookup homeTrashBin(FileSystem& fs, const QString& dataHome, uint uid, quint64 device) {
    // The data folder itself is the user's setting: links on its way are theirs.
    if (const Status made = makeFolders(fs, dataHome); !made) return noBinOr(made.failure());
    Result<std::unique_ptr<FolderHandle>> data = fs.openFolder(dataHome);
    if (!data) return noBinOr(data.failure());
    return binIn(*data.value(), kHomeTrash, joinPath(dataHome, kHomeTrash), QString(), uid, device);
}

BinLookup topTrashBin(FolderHandle& folder, uint uid) {
    const Result<FileInfo> start = folder.self();
    if (!start) return start.failure();
    const quint64 device = start->device;
    // Up through ".." to the last folder on the same device: the mount point.
    std::unique_ptr<FolderHandle> above;
    FolderHandle* top = &folder;
    FileId topId = start->id();
    for (;;) {
        Result<std::unique_ptr<FolderHandle>> up = top->openFolder(QStringLiteral(".."));
        if (!up) return up.failure();
        const Result<FileInfo> info = up.value()->self();
        if (!info) return info.failure();
        if (info->device != device || info->id() == topId) break;
        above = std::move(up.value());
        top = above.get();
        topId = info->id();
    }
    const Result<QString> topPath = top->path();
    if (!topPath) return topPath.failure();
    const QString id = QString::number(uid);

    // A shared trash every user may write to is safe only with the sticky
    // bit (no one removes another's folder) and as a real folder.
    Result<std::unique_ptr<FolderHandle>> shared = top->openFolder(kShared);
    if (shared) {
        const Result<FileInfo> info = shared.value()->self();
        const Result<PosixAccess> access = posixAccess(*shared.value());
        if (info && access && info->type == EntryType::Directory && info->device == device &&
            (access->mode & kStickyBit)) {
            BinLookup bin =
                binIn(*shared.value(), id, joinPath(joinPath(topPath.value(), kShared), id),
                      topPath.value(), uid, device);
            if (bin && bin.value()) return bin;
        }
    }
    return binIn(*top, ownTopTrash(uid), joinPath(topPath.value(), ownTopTrash(uid)),
                 topPath.value(), uid, device);
}

BinLookup trashBinAt(FileSystem& fs, const QString& root, uint uid) {
    const QString name = fileNameOf(root);
    const QString parent = parentFolder(root);
    const bool inShared = name == QString::number(uid) && fileNameOf(parent) == kShared;
    QString topdir;
    if (name == ownTopTrash(uid))
        topdir = parent;
    else if (inShared)
        topdir = parentFolder(parent);
    else if (name != kHomeTrash)
        return std::unique_ptr<TrashBin>();
    // The folder holding the trash is held by its path; from there on no
    // link is followed.
    Result<std::unique_ptr<FolderHandle>> holder = fs.openFolder(inShared ? topdir : parent);
    if (!holder) return holder.failure();
    if (inShared) {
        Result<std::unique_ptr<FolderHandle>> shared = holder.value()->openFolder(kShared);
        if (!shared) return noBinOr(shared.failure());
        holder = std::move(shared.value());
    }
    Result<std::unique_ptr<FolderHandle>> held = holder.value()->openFolder(name);
    if (!held) return noBinOr(held.failure());
    const Result<FileInfo> info = held.value()->self();
    if (!info) return info.failure();
    return binOf(std::move(held.value()), root, topdir, uid, info->device, false);
}

}  // namespace quillo
