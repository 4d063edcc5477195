#include "ui/folderpaths.h"

#include <QDir>
#include <algorithm>

#include "platform/paths.h"

namespace quillo {

namespace {

const QString kRoot = QStringLiteral("/");

// Kernel and runtime mounts that hold no user folders; removable media mounted
// under /run/media stay.
bool isPseudoRoot(const QString& root) {
    static const QStringList hidden = {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                       QStringLiteral("/dev"), QStringLiteral("/run")};
    if (isUnder(root, QStringLiteral("/run/media"))) return false;
    return std::any_of(hidden.begin(), hidden.end(),
                       [&](const QString& h) { return isUnder(root, h); });
}

bool displayLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

QStringList driveRoots(const std::vector<QString>& volumes) {
    QStringList roots;
    for (const QString& v : volumes) {
        const QString root = cleanFolder(v);
        if (root.isEmpty() || root == kRoot || isPseudoRoot(root) || roots.contains(root)) continue;
        roots << root;
    }
    std::sort(roots.begin(), roots.end(), displayLess);
    roots.prepend(kRoot);
    return roots;
}

bool isUnder(const QString& path, const QString& root) {
    if (root.isEmpty() || !path.startsWith(root)) return false;
    if (path.size() == root.size() || root.endsWith(kSeparator)) return true;
    return path.at(root.size()) == kSeparator;
}

QString volumeOf(const QStringList& roots, const QString& path) {
    QString best;
    for (const QString& root : roots)
        if (root.size() > best.size() && isUnder(path, root)) best = root;
    return best;
}

QString cleanFolder(const QString& folder) {
    if (!folder.startsWith(kSeparator)) return {};
    return QDir::cleanPath(folder);
}

QStringList folderChain(const QString& root, const QString& folder) {
    QStringList chain{root};
    if (!isUnder(folder, root) || folder == root) return chain;
    const QStringList parts =
        folder.mid(folderPrefix(root).size()).split(kSeparator, Qt::SkipEmptyParts);
    QString path = root;
    for (const QString& part : parts) {
        path = joinPath(path, part);
        chain << path;
    }
    return chain;
}

Result<QStringList> subfolders(FileSystem& fs, const QString& folder) {
    Result<Listing> listing = fs.list(folder);
    if (!listing) return listing.failure();
    QStringList names;
    for (const DirEntry& e : listing->entries) {
        if (e.name.startsWith(QLatin1Char('.'))) continue;
        EntryType type = e.type;
        if (type == EntryType::Unknown) {
            // Some file systems give no type in the listing; ask without following links.
            const Result<FileInfo> info = fs.info(joinPath(folder, e.name));
            if (info) type = info->type;
        }
        if (type == EntryType::Directory) names << e.name;
    }
    std::sort(names.begin(), names.end(), displayLess);
    return names;
}

}  // namespace quillo
