#include "collect/overlap.h"

#include <algorithm>
#include <vector>

#include "core/paths.h"

namespace quillo {

namespace {

bool textsOverlap(const QString& r, const QString& s) {
    if (r.isEmpty() || s.isEmpty()) return true;
    return s.startsWith(r, Qt::CaseSensitive) || r.startsWith(s, Qt::CaseSensitive);
}

// The identities of a folder and of every folder above it, found from its
// resolved path; empty when the folder cannot be resolved.
std::vector<FileId> folderChain(const QString& folder, FileSystem& fs) {
    std::vector<FileId> chain;
    const Result<QString> resolved = fs.canonicalFolder(folder);
    if (!resolved) return chain;
    QString path = resolved.value();
    for (;;) {
        const Result<FileInfo> info = fs.info(path);
        if (info) chain.push_back(info->id());
        const QString parent = parentFolder(path);
        if (parent == path) break;
        path = parent;
    }
    return chain;
}

bool contains(const std::vector<FileId>& chain, const FileId& id) {
    return std::find(chain.begin(), chain.end(), id) != chain.end();
}

}  // namespace

bool foldersOverlap(const QString& referFolder, const QString& selectFolder, FileSystem& fs) {
    if (textsOverlap(referFolder, selectFolder)) return true;
    const std::vector<FileId> r = folderChain(referFolder, fs);
    const std::vector<FileId> s = folderChain(selectFolder, fs);
    if (r.empty() || s.empty()) return false;
    // The first id of a chain is the folder itself.
    return contains(s, r.front()) || contains(r, s.front());
}

}  // namespace quillo
