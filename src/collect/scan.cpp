#include "collect/scan.h"

#include <set>
#include <utility>

#include "platform/format.h"
#include "platform/paths.h"

namespace quillo {

namespace {

// Lower-cases one UTF-16 code unit the way the extension match does.
inline char16_t lowerUnit(QChar c) {
    return c.toLower().unicode();
}

// The last n code units of a and b are equal, letter case ignored.
bool tailsEqual(QStringView a, QStringView b, qsizetype n) {
    const QStringView ta = a.right(n);
    const QStringView tb = b.right(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (ta[i] != tb[i] && lowerUnit(ta[i]) != lowerUnit(tb[i])) return false;
    }
    return true;
}

bool isPagefile(const QString& name) {
    static const QString kPagefile = QStringLiteral("pagefile.sys");
    return name.size() == kPagefile.size() && name.toLower() == kPagefile;
}

// Hidden entries are not listed, as a listing without the hidden attribute would.
bool isHidden(const QString& name) {
    return name.startsWith(QLatin1Char('.'));
}

class Walk {
  public:
    Walk(FileTable& table, const QString& kind, int subfolderSwitch, const QString& extension,
         Progress& progress, FileSystem& fs, ScanStats& stats)
        : m_table(table),
          m_kind(kind),
          m_recurse(subfolderSwitch == 1),
          m_extension(extension),
          m_progress(progress),
          m_fs(fs),
          m_stats(stats) {}

    void top(const QString& folder) {
        // The top folder may itself be a link the user chose: it is listed all
        // the same; only a real folder's identity is remembered.
        const Result<FileInfo> info = m_fs.info(folder);
        if (info && info->type == EntryType::Directory) enter(info.value());
        scan(folder);
    }

  private:
    // Remembers a folder; false when this walk has been in it already.
    bool enter(const FileInfo& info) { return m_entered.insert({info.device, info.inode}).second; }

    void scan(const QString& folder) {
        // Listing phase: the whole listing is read before any entry is examined.
        Result<Listing> listing = m_fs.list(folder);
        if (!listing) {
            ++m_stats.skipped;
            return;
        }
        m_stats.skipped += listing->undecodable;
        std::vector<DirEntry> entries;
        entries.reserve(listing->entries.size());
        for (DirEntry& e : listing->entries) {
            if (isHidden(e.name)) continue;
            m_progress.BlinkStep();
            entries.push_back(std::move(e));
        }
        listing->entries.clear();
        listing->entries.shrink_to_fit();

        // One folder text for every entry of this folder: the table's cells share it.
        const QString prefix = folderPrefix(folder);

        // Examination phase, in listing order; subfolders are walked where they stand.
        const std::unique_ptr<FolderHandle> here = m_fs.openFolder(folder);
        for (const DirEntry& e : entries) {
            m_progress.BlinkStep();
            if (isPagefile(e.name)) continue;
            examine(*here, prefix, e);
        }
    }

    void examine(FolderHandle& here, const QString& prefix, const DirEntry& e) {
        switch (e.type) {
            case EntryType::File:
                if (extensionMatches(e.name, m_extension)) takeFile(here, prefix, e.name);
                return;
            case EntryType::Directory:
                if (m_recurse) walkInto(here, prefix, e.name);
                return;
            case EntryType::Unknown:
                break;
            case EntryType::Symlink:
            case EntryType::Other:
                // Links are neither collected nor followed; devices, pipes and
                // sockets are not files whose contents can be compared.
                return;
        }
        const Result<FileInfo> info = here.info(e.name);
        if (!info) {
            ++m_stats.skipped;
            return;
        }
        if (info->type == EntryType::Directory) {
            if (m_recurse) walkFolder(prefix + e.name, info.value());
        } else if (info->type == EntryType::File && extensionMatches(e.name, m_extension)) {
            append(prefix, e.name, info->size);
        }
    }

    void walkInto(FolderHandle& here, const QString& prefix, const QString& name) {
        const Result<FileInfo> info = here.info(name);
        if (!info) {
            ++m_stats.skipped;
            return;
        }
        // Replaced by something else since the listing: not a folder to walk now.
        if (info->type != EntryType::Directory) return;
        walkFolder(prefix + name, info.value());
    }

    void walkFolder(const QString& path, const FileInfo& info) {
        // A folder met again (a bind mount of an ancestor, a volume mounted
        // twice) would be walked again or forever.
        if (!enter(info)) {
            ++m_stats.skipped;
            return;
        }
        scan(path);
    }

    void takeFile(FolderHandle& here, const QString& prefix, const QString& name) {
        const Result<FileInfo> info = here.info(name);
        if (!info) {
            ++m_stats.skipped;  // vanished since the listing
            return;
        }
        if (info->type != EntryType::File) return;
        append(prefix, name, info->size);
    }

    void append(const QString& prefix, const QString& name, qint64 size) {
        m_table.append(prefix, name, size, m_kind);
        m_progress.count(countCaption(m_table.FileCount));
    }

    FileTable& m_table;
    const QString& m_kind;
    const bool m_recurse;
    const QString& m_extension;
    Progress& m_progress;
    FileSystem& m_fs;
    ScanStats& m_stats;
    std::set<std::pair<quint64, quint64>> m_entered;
};

}  // namespace

bool extensionMatches(const QString& name, const QString& extension) {
    // An empty text would take every file; it selects nothing instead.
    if (extension.isEmpty()) return false;
    const qsizetype n = extension.size() < 4 ? extension.size() : 4;
    if (name.size() < n) return false;
    return tailsEqual(name, extension, n);
}

void ScanFolder(FileTable& table, const QString& folder, const QString& kind, int subfolderSwitch,
                const QString& extension, Progress& progress, FileSystem& fs, ScanStats& stats) {
    Walk walk(table, kind, subfolderSwitch, extension, progress, fs, stats);
    walk.top(folder);
}

}  // namespace quillo
