#pragma once
// The one list of collected files: one row per file.

#include <QString>
#include <set>
#include <vector>

#include "collect/foldertext.h"
#include "platform/filesystem.h"

namespace quillo {

// The kind of an entry. The order is the order within one size in the size
// sort: references first, so every target meets the references of its size.
enum class FileKind : quint8 { Refer = 0, Target = 1 };

// The kind label the list shows: "参照" or "対象".
const QString& kindLabel(FileKind kind);

struct FileEntry {
    FolderText dir;  // shared by one folder's entries
    QString name;    // as the listing gave it; empty once removed by a duplicate pass
    qint64 size = 0;
    FileKind kind = FileKind::Target;
    FileId id;           // device and inode when collected
    qint64 mtimeNs = 0;  // last modification when collected

    QString path() const { return dir.text() + name; }
    bool removed() const { return name.isEmpty(); }
};

struct FileTable {
    std::vector<FileEntry> entries;  // entry i of the list is entries[i - 1]
    // Every folder a reference collection walked: an extraction never walks
    // them again under another path.
    std::set<FileId> referFolders;

    qint32 FileCount() const { return qint32(entries.size()); }
    void append(FileEntry entry) { entries.push_back(std::move(entry)); }

    // Empties the table and gives its memory back; refused (false) while a
    // command works on it, whatever asks.
    bool clear();

    // Marks the table as worked on by a command for as long as it lives.
    class Use {
      public:
        explicit Use(FileTable& table) : m_table(table) { ++m_table.m_users; }
        ~Use() { --m_table.m_users; }
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

      private:
        FileTable& m_table;
    };
    bool inUse() const { return m_users > 0; }

  private:
    int m_users = 0;
};

// The identities of the reference files of a table, for the guard that never
// lets a target that is one of them be removed, moved or renamed.
class ReferenceGuard {
  public:
    explicit ReferenceGuard(const FileTable& table);
    bool isReference(const FileId& id) const;
    bool empty() const { return m_ids.empty(); }
    // Whether a held folder is one a reference collection walked (or cannot be
    // told): its entries are reference files or could be.
    bool holdsReferences(FolderHandle& folder) const;
    // A reference entry, or a target that is a reference file as collected:
    // either is never removed, moved or renamed.
    bool keeps(const FileEntry& e) const { return e.kind == FileKind::Refer || isReference(e.id); }

  private:
    std::vector<FileId> m_ids;  // sorted
    std::set<FileId> m_folders;
};

}  // namespace quillo
