#include "collect/scan.h"

#include <utility>

#include "core/format.h"
#include "core/paths.h"

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

class Walk {
  public:
    Walk(const ScanRequest& request, Progress& progress, FileSystem& fs,
         std::vector<FileEntry> into)
        : m_request(request),
          m_recurse(request.subfolderSwitch == CheckValue::On),
          m_progress(progress),
          m_fs(fs),
          m_given(into.size()) {
        m_result.entries = std::move(into);
    }

    ScanResult top() {
        // The top folder may itself be a link the user chose: it is listed all
        // the same; only a real folder's identity is remembered.
        const Result<FileInfo> info = m_fs.info(m_request.folder);
        if (info && info->type == EntryType::Directory) {
            if (!enter(info.value())) return std::move(m_result);
        }
        scan(m_request.folder);
        return std::move(m_result);
    }

  private:
    // Remembers a folder; false when it is not to be walked: this walk has been
    // in it already, or it is one to avoid (counted as skipped either way).
    bool enter(const FileInfo& info) {
        if (m_request.avoid.count(info.id()) || !m_result.walked.insert(info.id()).second) {
            ++m_result.skipped;
            return false;
        }
        return true;
    }

    void scan(const QString& folder) {
        // Listing phase: the whole listing is read before any entry is examined.
        Result<Listing> listing = m_fs.list(folder);
        if (!listing) {
            ++m_result.skipped;
            return;
        }
        m_result.skipped += listing->undecodable;
        std::vector<DirEntry> entries;
        entries.reserve(listing->entries.size());
        for (DirEntry& e : listing->entries) {
            if (e.hidden) continue;  // as a listing without hidden entries
            m_progress.BlinkStep();
            entries.push_back(std::move(e));
        }
        listing->entries.clear();
        listing->entries.shrink_to_fit();

        // One folder text for every entry of this folder: the table's cells share it.
        const FolderText prefix(folderPrefix(folder));

        // Examination phase, in listing order; subfolders are walked where they stand.
        Result<std::unique_ptr<FolderHandle>> here = m_fs.openFolder(folder);
        if (!here) {
            ++m_result.skipped;  // gone or replaced since the listing
            return;
        }
        for (const DirEntry& e : entries) {
            m_progress.BlinkStep();
            if (m_result.stopped || (m_result.stopped = m_progress.stopRequested())) return;
            if (isPagefile(e.name)) continue;
            examine(*here.value(), prefix, e);
        }
    }

    void examine(FolderHandle& here, const FolderText& prefix, const DirEntry& e) {
        switch (e.type) {
            case EntryType::File:
                if (!extensionMatches(e.name, m_request.extension)) return;
                break;
            case EntryType::Directory:
                if (!m_recurse) return;
                break;
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
            ++m_result.skipped;  // vanished since the listing
            return;
        }
        // What is there now counts: it may have been replaced since the listing.
        if (info->type == EntryType::Directory) {
            if (m_recurse && enter(info.value())) scan(prefix.text() + e.name);
        } else if (info->type == EntryType::File && extensionMatches(e.name, m_request.extension)) {
            m_result.entries.push_back(
                FileEntry{prefix, e.name, info->size, m_request.kind, info->id(), info->mtimeNs});
            m_progress.count(
                countCaption(m_request.countBefore + qint64(m_result.entries.size() - m_given)));
        }
    }

    const ScanRequest& m_request;
    const bool m_recurse;
    Progress& m_progress;
    FileSystem& m_fs;
    const size_t m_given;
    ScanResult m_result;
};

}  // namespace

bool extensionMatches(const QString& name, const QString& extension) {
    // An empty text would take every file; it selects nothing instead.
    if (extension.isEmpty()) return false;
    const qsizetype n = extension.size() < 4 ? extension.size() : 4;
    if (name.size() < n) return false;
    return tailsEqual(name, extension, n);
}

ScanResult ScanFolder(const ScanRequest& request, Progress& progress, FileSystem& fs,
                      std::vector<FileEntry> into) {
    return Walk(request, progress, fs, std::move(into)).top();
}

}  // namespace quillo
