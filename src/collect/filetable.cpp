#include "collect/filetable.h"

#include <algorithm>
#include <utility>

namespace quillo {

const QString& kindLabel(FileKind kind) {
    static const QString refer = QStringLiteral("参照");
    static const QString target = QStringLiteral("対象");
    return kind == FileKind::Refer ? refer : target;
}

bool FileTable::clear() {
    if (inUse()) return false;
    std::vector<FileEntry>().swap(entries);
    referFolders.clear();
    return true;
}

ReferenceGuard::ReferenceGuard(const FileTable& table) : m_folders(table.referFolders) {
    for (const FileEntry& e : table.entries)
        if (e.kind == FileKind::Refer && e.id != FileId{}) m_ids.push_back(e.id);
    std::sort(m_ids.begin(), m_ids.end());
}

bool ReferenceGuard::isReference(const FileId& id) const {
    return std::binary_search(m_ids.begin(), m_ids.end(), id);
}

bool ReferenceGuard::holdsReferences(FolderHandle& folder) const {
    if (m_folders.empty()) return false;
    const Result<FileInfo> self = folder.self();
    return !self || m_folders.count(self->id()) > 0;
}

}  // namespace quillo
