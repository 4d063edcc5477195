#include "dedup/findduplicates.h"

#include <memory>
#include <numeric>

#include "core/failure.h"
#include "core/format.h"
#include "dedup/comparebuffers.h"
#include "dedup/comparison.h"
#include "dedup/pairsahead.h"
#include "dedup/rungroups.h"
#include "dedup/sizesort.h"

namespace quillo {

RemovalWords removalWords(const DedupOptions& options, bool toTrash) {
    if (options.chkDelete == CheckValue::On)
        return {QStringLiteral("移動しています、しばらくお待ち下さい"),
                QStringLiteral("移動しました"), QStringLiteral("移動できませんでした")};
    if (toTrash)
        return {QStringLiteral("ごみ箱に移しています、しばらくお待ち下さい"),
                QStringLiteral("ごみ箱に移しました"), QStringLiteral("ごみ箱に移せませんでした")};
    return {QStringLiteral("削除しています、しばらくお待ち下さい"), QStringLiteral("削除しました"),
            QStringLiteral("削除できませんでした")};
}

namespace {

// What became of a target the search did not plan to remove, counted at the end.
enum class Left : char { No, Failed, Kept };

class Search {
  public:
    Search(const FileTable& table, Progress& progress, MessageBox& box, FileSystem& fs)
        : m_rows(table.entries),
          m_count(table.FileCount()),
          m_guard(table),
          m_progress(progress),
          m_box(box),
          m_fs(fs),
          m_folders(fs, m_guard),
          m_order(size_t(m_count)),
          m_ahead(m_rows, m_order, m_guard, m_folders, m_buffers),
          m_left(size_t(m_count), Left::No),
          m_going(size_t(m_count), false),
          m_asked(size_t(m_count), false),
          m_groupOf(size_t(m_count), -1) {}

    CommandEnd run(DuplicatePlan& plan);

  private:
    const FileEntry& at(qint32 place) const { return m_rows[size_t(m_order[size_t(place)])]; }
    bool stop() {
        if (!m_progress.stopRequested()) return false;
        m_end = CommandEnd::Stopped;
        return true;
    }
    void meet(qint32 i, qint32 j, const RunGroups* groups, bool pairRun, DuplicatePlan& plan);
    void failed(qint32 place, const Failure& failure, const QString& path);

    const std::vector<FileEntry>& m_rows;
    const qint32 m_count;
    const ReferenceGuard m_guard;
    Progress& m_progress;
    MessageBox& m_box;
    FileSystem& m_fs;
    FolderCache m_folders;
    CompareBuffers m_buffers;
    std::vector<qint32> m_order;  // places in size order
    PairsAhead m_ahead;           // the pairs of runs of two, compared ahead
    std::vector<Left> m_left;     // by place
    std::vector<bool> m_going;    // planned to go: not compared again
    // Asked about once already: not compared again, so that one file never
    // brings more than one question.
    std::vector<bool> m_asked;
    std::vector<qint32> m_groupOf;  // the plan's group of a kept file, by place
    CommandEnd m_end = CommandEnd::Completed;
};

void Search::failed(qint32 place, const Failure& failure, const QString& path) {
    m_asked[size_t(place)] = true;
    if (at(place).kind == FileKind::Target && m_left[size_t(place)] == Left::No)
        m_left[size_t(place)] = Left::Failed;
    if (m_box.show(failureQuestion(failure, path), Buttons::YesNo) == Answer::No)
        m_end = CommandEnd::Aborted;
}

// Compares the file at place i with the one at j, planning j to go when the
// two are the same. Small files the run's grouping read whole are compared
// from those bytes; the one pair of a run of two was compared ahead.
void Search::meet(qint32 i, qint32 j, const RunGroups* groups, bool pairRun, DuplicatePlan& plan) {
    const FileEntry& first = at(i);
    const FileEntry& second = at(j);
    const QString firstPath = first.path(), secondPath = second.path();
    const Result<CachedFolder> folder2 = m_folders.folder(second.dir.text());
    if (!folder2) return failed(j, folder2.failure(), secondPath);
    const Result<CachedFolder> folder1 = m_folders.folder(first.dir.text());
    if (!folder1) return failed(i, folder1.failure(), firstPath);
    // A folder on the way may have been swapped for a reference folder (or a
    // link to one) since the collection: nothing in it is planned to go.
    if (folder2->holdsReferences) {
        m_left[size_t(j)] = Left::Kept;
        return;
    }
    const FileAt one{*folder1->handle, first.name, firstPath};
    const FileAt two{*folder2->handle, second.name, secondPath};
    const char* bytes1 = groups ? groups->bytes(i) : nullptr;
    const char* bytes2 = groups ? groups->bytes(j) : nullptr;
    std::optional<Compared> early = pairRun ? m_ahead.take(i) : std::nullopt;
    const Compared c = early              ? std::move(*early)
                       : bytes1 && bytes2 ? compareRead(one, two, second.size, bytes1, bytes2)
                                          : compareFiles(one, two, second.size, m_buffers);
    if (c.verdict == Compared::Verdict::Failed)
        return failed(c.failedPath == firstPath ? i : j, c.failure, c.failedPath);
    if (c.verdict != Compared::Verdict::Identical) return;
    // A reference file stays, whatever path names it.
    if (m_guard.isReference(c.second.id())) {
        m_left[size_t(j)] = Left::Kept;
        return;
    }
    const std::optional<quint16> firstDevice = plan.deviceIndex(c.first.device);
    const std::optional<quint16> secondDevice = plan.deviceIndex(c.second.device);
    if (!firstDevice || !secondDevice) return;  // more devices than a plan can name
    qint32& group = m_groupOf[size_t(i)];
    if (group < 0) {
        group = qint32(plan.groups.size());
        plan.groups.push_back({m_order[size_t(i)], *firstDevice, m_guard.keeps(first),
                               c.first.inode, c.first.mtimeNs});
    }
    DuplicateRow row;
    row.entry = m_order[size_t(j)];
    row.group = group;
    row.inode = c.second.inode;
    row.mtimeNs = c.second.mtimeNs;
    row.device = *secondDevice;
    plan.rows.push_back(row);
    m_going[size_t(j)] = true;
}

CommandEnd Search::run(DuplicatePlan& plan) {
    std::iota(m_order.begin(), m_order.end(), 0);
    m_progress.message(QStringLiteral("並び替えています、しばらくお待ち下さい"));
    if (!SizeSort(m_order, m_rows, m_progress)) return CommandEnd::Stopped;
    m_progress.message(QStringLiteral("解析しています、しばらくお待ち下さい"));
    for (qint32 j = 0; j < m_count; ++j)
        if (at(j).kind == FileKind::Target && m_guard.keeps(at(j))) m_left[size_t(j)] = Left::Kept;

    qint32 runEnd = 0;  // one past the last place of the run of equal size that holds i
    std::unique_ptr<RunGroups> groups;
    bool pairRun = false;  // the run holding i has two entries
    for (qint32 i = 0; i < m_count - 1 && m_end == CommandEnd::Completed; ++i) {
        if (i >= runEnd) {
            runEnd = i + 1;
            bool anyTarget = !m_guard.keeps(at(i));
            for (; runEnd < m_count && at(runEnd).size == at(i).size; ++runEnd)
                anyTarget = anyTarget || !m_guard.keeps(at(runEnd));
            // A run without a target holds no pair to compare.
            groups.reset();
            pairRun = runEnd - i == 2;
            if (runEnd - i > 1 && anyTarget)
                groups = std::make_unique<RunGroups>(m_rows, m_order, i, runEnd, m_folders,
                                                     m_buffers, m_progress);
            if (groups && groups->stopped()) return CommandEnd::Stopped;
        }
        if (stop()) break;
        if (groups && !m_going[size_t(i)]) {
            groups->forEachPartner(i, [&](qint32 j) {
                if (m_end != CommandEnd::Completed || m_asked[size_t(i)]) return;
                m_progress.BlinkStep();
                if (stop()) return;
                if (m_going[size_t(j)] || m_asked[size_t(j)] || m_guard.keeps(at(j))) return;
                meet(i, j, groups.get(), pairRun, plan);
            });
        }
        if (m_end == CommandEnd::Completed) m_progress.count(progressCaption(i + 1, m_count));
    }
    for (qint32 j = 0; j < m_count; ++j) {
        if (m_going[size_t(j)]) continue;
        plan.failed += m_left[size_t(j)] == Left::Failed ? 1 : 0;
        plan.kept += m_left[size_t(j)] == Left::Kept ? 1 : 0;
    }
    return m_end;
}

}  // namespace

DuplicateSearch findDuplicates(const FileTable& table, const DedupOptions& options,
                               const RemovalWords& words, qint32& DupCount, Progress& progress,
                               MessageBox& box, FileSystem& fs) {
    DuplicateSearch search;
    CommandOutcome& outcome = search.outcome;
    if (table.FileCount() < 2) return search;
    DupCount = 0;
    DuplicatePlan& plan = search.plan;
    plan.way = options.chkDelete == CheckValue::On ? WayOut::DeleteFolder : WayOut::Trash;
    outcome.end = Search(table, progress, box, fs).run(plan);
    plan.rows.shrink_to_fit();
    plan.groups.shrink_to_fit();
    outcome.failed = plan.failed;
    outcome.kept = plan.kept;
    if (outcome.end == CommandEnd::Completed && !plan.empty()) return search;
    // Nothing to review: as a run that removed nothing. A search cut short
    // changed nothing and leaves the list as it is.
    if (outcome.end == CommandEnd::Completed) {
        outcome.clearList = true;
        outcome.saveSettings = true;
    }
    outcome.message =
        outcome.end == CommandEnd::Completed && outcome.failed == 0 && outcome.kept == 0
            ? QStringLiteral("重複ファイルは有りませんでした")
            : countedMessage(outcome, words.done, words.failed);
    plan = DuplicatePlan();
    return search;
}

}  // namespace quillo
