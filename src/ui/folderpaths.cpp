#include "ui/folderpaths.h"

#include <QDir>
#include <algorithm>

#include "core/paths.h"
#include "platform/volumes.h"

namespace quillo {

namespace {

bool displayLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

QStringList driveRoots(const std::vector<QString>& volumes) {
    QStringList roots;
    for (const QString& v : volumes) {
        const QString root = cleanFolder(v);
        if (root.isEmpty() || root == mainVolume() || isSystemVolume(root) || roots.contains(root))
            continue;
        roots << root;
    }
    std::sort(roots.begin(), roots.end(), displayLess);
    roots.prepend(mainVolume());
    return roots;
}

bool isUnder(const QString& path, const QString& root) {
    if (root.isEmpty() || !path.startsWith(root, pathCase())) return false;
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
    // Tested with its separator: a bare drive ("C:") is its root.
    const QString prefix = folderPrefix(folder);
    if (folder.isEmpty() || !isAbsoluteFolder(prefix)) return {};
    return folderSetting(QDir::cleanPath(prefix));
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
        if (e.hidden) continue;
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
