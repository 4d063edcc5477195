// Random corpora run through the real command and through a plain model of the
// pair loop (every pair of a size, whole files in memory, no grouping, no
// pieces): the search must plan the same duplicates beside the same kept
// files, with the same questions. Then the plan is edited as a user would
// (rows left out, kept files swapped) and files are changed behind its back
// (new contents, a new size, replaced, their folder swapped); carried out, it
// must leave exactly the model's tree, outcomes, questions and messages, and
// an undo must give the tree back. Some corpora hold runs of hundreds of
// entries of one size in many content groups, with failures injected by path.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

#include "core/failure.h"
#include "core/paths.h"
#include "dedup/duplicatepass.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "journal/runjournal.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"
#include "trash/trashcan.h"
#include "undo/undocommand.h"

using namespace quillo;

namespace {

struct Corpus {
    QTemporaryDir dir;
    FileTable table;
    DedupOptions options;
    // How removals leave: Trash into the desktop's trash, Journal deleted for
    // good but written down, Bare neither (as before there was a trash).
    enum class Tools { Trash, Journal, Bare } tools = Tools::Bare;
    QList<Answer> script;
    QStringList written;  // paths of the files that exist before the pass
    QHash<QString, int> failOpen, failRead, failRemove, failRename;
};

// What the model expects the search to find: rows (duplicate, kept file) by
// table index, in plan order.
struct Found {
    QStringList questions;
    bool stopped = false;  // the user answered No
    std::vector<std::pair<qint32, qint32>> rows;
    qint32 failed = 0, kept = 0;
};

// A file as the model sees it on disk.
struct OnDisk {
    QByteArray bytes;
    FileId id;
};

FileId idOf(const QString& path) {
    const Result<FileInfo> info = systemFileSystem().info(path);
    return info ? info->id() : FileId{};
}

// A small corpus of a few folders and names, or (big) hundreds of files of 1 to
// 3 bytes over three letters, so that each size is one long run of many groups.
void build(Corpus& c, QRandomGenerator& rng, bool big) {
    const QString root = c.dir.path() + QLatin1Char('/');
    QStringList refs{QStringLiteral("ref/"), QStringLiteral("ref/子/")};
    QStringList sels{QStringLiteral("sel/"), QStringLiteral("sel/a/"), QStringLiteral("sel/写真/")};
    QStringList names{QStringLiteral("A.JPG"),  QStringLiteral("a.JPG"),
                      QStringLiteral("b.JPG"),  QStringLiteral("写真.JPG"),
                      QStringLiteral("Ｂ.JPG"), QStringLiteral("x.jpg")};
    // "A.JPG" and "a.JPG" are one name where the system ignores letter case.
    if (pathCase() == Qt::CaseInsensitive) names.removeAll(QStringLiteral("a.JPG"));
    if (big) {
        for (int k = 0; k < 12; ++k) sels << QStringLiteral("sel/%1/").arg(k);
        for (int k = 0; k < 40; ++k) names << QStringLiteral("%1.JPG").arg(k);
    }
    const auto pick = [&](const QStringList& l) { return l[int(rng.bounded(l.size()))]; };
    const auto chance = [&](int percent) { return int(rng.bounded(100)) < percent; };
    const int faultPercent = big ? 1 : 6;
    const int codes[] = {code::PermissionDenied, code::DeviceIo, code::DiskFull};
    const auto fault = [&] { return codes[rng.bounded(3)]; };
    QSet<QString> used;
    const int n = big ? 150 + int(rng.bounded(251)) : 2 + int(rng.bounded(13));
    for (int k = 0; k < n; ++k) {
        const bool refer = chance(big ? 15 : 30);
        const QString dir = root + pick(refer ? refs : sels);
        const QString name = pick(names);
        const QString path = dir + name;
        if (used.contains(path)) continue;
        used.insert(path);
        qint64 size = 0;
        // Wine renames a file onto another name of itself as a success that
        // changes nothing (Windows refuses it): no second names there.
        if (!c.written.isEmpty() && chance(8) && !test::runsUnderWine()) {
            // Another name for a file already written.
            const QString other = pick(c.written);
            QDir().mkpath(dir);
            QVERIFY(test::makeHardLink(other, path));
            size = QFileInfo(other).size();
            c.written << path;
        } else {
            QByteArray bytes;
            const int length = big ? 1 + int(rng.bounded(3)) : int(rng.bounded(4));
            for (int b = 0; b < length; ++b) bytes += char('a' + rng.bounded(big ? 3 : 2));
            size = bytes.size();
            if (chance(big ? 2 : 8)) {
                QDir().mkpath(dir);  // collected, then deleted by someone else
            } else {
                test::writeFile(path, bytes);
                c.written << path;
            }
        }
        if (chance(big ? 2 : 8)) size = std::max<qint64>(0, size + (rng.bounded(2) ? 1 : -1));
        c.table.append(
            FileEntry{dir, name, size, refer ? FileKind::Refer : FileKind::Target, idOf(path)});
        if (chance(faultPercent)) c.failOpen.insert(path, fault());
        if (chance(faultPercent)) c.failRead.insert(path, fault());
        if (chance(faultPercent)) c.failRemove.insert(path, fault());
        if (chance(faultPercent)) c.failRename.insert(path, fault());
    }
    c.options.chkDelete = CheckValue(rng.bounded(3));
    c.tools = Corpus::Tools(rng.bounded(3));
    // Where the system has no trash, the runs drawn for it keep a journal instead.
    if (c.tools == Corpus::Tools::Trash && !test::trashAvailable())
        c.tools = Corpus::Tools::Journal;
    c.options.deleteFolder = root + QStringLiteral("削除");
    if (chance(85)) {
        QDir().mkpath(c.options.deleteFolder);
        for (int k = int(rng.bounded(3)); k > 0; --k)
            test::writeFile(c.options.deleteFolder + QLatin1Char('/') + pick(names), "zz");
    }
    // Some runs answer Yes to everything; the others say No now and then, rarely
    // where hundreds of questions may come.
    const int no = chance(30) ? 0 : (big ? 1 : 15);
    for (int k = 0; k < (big ? 2000 : 30); ++k)
        c.script << (int(rng.bounded(big ? 1000 : 100)) < no ? Answer::No : Answer::Yes);
}

QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        out.insert(name, test::readFile(folder + QLatin1Char('/') + name));
    return out;
}

// A failure of one file of a pair.
struct Failed {
    Failure failure;
    QString path;
};

QString question(const Failed& f) {
    const int code = f.failure.code;
    const QString path = nativePath(f.path);
    return (code == code::FileExists ? path + QStringLiteral(" ファイルが重複しています")
            : code == code::FileNotFound
                ? path + QStringLiteral(" が見つかりません")
                : path + QLatin1Char('\r') + QString::number(code) + f.failure.description) +
           QStringLiteral("\r処理を続けますか？");
}

std::set<FileId> referenceIds(const FileTable& table) {
    std::set<FileId> ids;
    for (const FileEntry& r : table.entries)
        if (r.kind == FileKind::Refer && r.id != FileId{}) ids.insert(r.id);
    return ids;
}

// The pair loop of the search as plainly as it can be written, over what is
// on disk before it.
Found modelSearch(const Corpus& c, QList<Answer>& script) {
    Found out;
    const std::vector<FileEntry>& rows = c.table.entries;
    const int n = int(rows.size());
    std::vector<int> order(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) order[size_t(k)] = k;
    const auto key = [&](int k) {
        const FileEntry& r = rows[size_t(k)];
        return std::make_tuple(r.size, r.kind, r.dir.text().toStdU16String(),
                               r.name.toStdU16String());
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    QHash<QString, OnDisk> disk;
    for (const FileEntry& r : rows)
        if (QFileInfo::exists(r.path()))
            disk.insert(r.path(), OnDisk{test::readFile(r.path()), idOf(r.path())});
    const std::set<FileId> references = referenceIds(c.table);
    const auto keep = [&](const FileEntry& r) {
        return r.kind == FileKind::Refer || references.count(r.id) > 0;
    };
    const auto readRefused = [](int code) {
        Failure f = makeFailure(code);
        if (code == code::PermissionDenied) f.description = QStringLiteral("読み込みできません。");
        return f;
    };
    // One comparison: look at both, open both, read both, compare.
    const auto compare = [&](const FileEntry& a, const FileEntry& b) -> std::optional<Failed> {
        const QString p[2] = {a.path(), b.path()};
        for (const QString& path : p)
            if (!disk.contains(path)) return Failed{makeFailure(code::FileNotFound), path};
        const OnDisk& one = disk[p[0]];
        const OnDisk& two = disk[p[1]];
        if (one.bytes.size() != b.size || two.bytes.size() != b.size || one.id == two.id)
            return std::nullopt;
        // An empty file is opened but never read.
        for (const QHash<QString, int>* faults : {&c.failOpen, &c.failRead})
            for (const QString& path : p)
                if (faults->contains(path) && (faults == &c.failOpen || b.size > 0))
                    return Failed{readRefused(faults->value(path)), path};
        return std::nullopt;
    };
    const auto same = [&](const FileEntry& a, const FileEntry& b) {
        return disk[a.path()].bytes == disk[b.path()].bytes && !references.count(disk[b.path()].id);
    };
    QSet<int> asked, going;
    for (int x = 0; x < n - 1 && !out.stopped; ++x) {
        const int i = order[size_t(x)];
        for (int y = x + 1; y < n && !out.stopped; ++y) {
            const int j = order[size_t(y)];
            const FileEntry& a = rows[size_t(i)];
            const FileEntry& b = rows[size_t(j)];
            if (a.size != b.size || going.contains(i) || asked.contains(i)) break;
            if (going.contains(j) || asked.contains(j) || keep(b)) continue;
            if (const std::optional<Failed> failed = compare(a, b)) {
                const int whose = failed->path == a.path() ? i : j;
                asked.insert(whose);
                out.questions << question(*failed);
                out.stopped = !script.isEmpty() && script.takeFirst() == Answer::No;
                continue;
            }
            if (disk.contains(a.path()) && disk.contains(b.path()) &&
                disk[a.path()].bytes.size() == b.size && disk[b.path()].bytes.size() == b.size &&
                disk[a.path()].id != disk[b.path()].id && same(a, b)) {
                going.insert(j);
                out.rows.push_back({j, i});
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        const FileEntry& r = rows[size_t(k)];
        if (r.kind != FileKind::Target || going.contains(k)) continue;
        if (keep(r))
            ++out.kept;
        else if (asked.contains(k))
            ++out.failed;
    }
    return out;
}

enum class Meddling { None, Contents, Size, Replaced, FolderSwapped };

// Changes a file behind the plan's back; a swapped folder gets copies of all
// it held, under the same names: every file under it is another file now.
void meddle(const QString& path, Meddling how) {
    const QByteArray bytes = test::readFile(path);
    switch (how) {
        case Meddling::None:
            break;
        case Meddling::Contents: {
            if (bytes.isEmpty()) return meddle(path, Meddling::Size);
            QByteArray other = bytes;
            other[0] = char(other[0] ^ 0x20);
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(other);
            f.close();
            break;
        }
        case Meddling::Size:
            test::writeFile(path, bytes + 'z');
            break;
        case Meddling::Replaced:
            QVERIFY(QFile::remove(path));
            test::writeFile(path, bytes);
            break;
        case Meddling::FolderSwapped: {
            const QString folder = QFileInfo(path).absolutePath();
            const QMap<QString, QByteArray> held = test::treeContents(folder);
            QVERIFY(QDir().rename(folder, folder + QStringLiteral("~")));
            for (auto f = held.begin(); f != held.end(); ++f)
                test::writeFile(folder + QLatin1Char('/') + f.key(), f.value());
            break;
        }
    }
}

}  // namespace

class TstDedupOracle : public QObject {
    Q_OBJECT
  private slots:
    void randomCorporaMatchThePlainModel();
};

// A check that names the seed and the round it failed in.
#define CHECK(ok, what) QVERIFY2(ok, qPrintable(where + (what)))

void TstDedupOracle::randomCorporaMatchThePlainModel() {
    bool fixed = false;
    const quint32 seed = qEnvironmentVariable("QUILLO_SEED").toUInt(&fixed);
    const quint32 used = fixed ? seed : QRandomGenerator::global()->generate();
    QRandomGenerator rng(used);
    int removedSeen = 0, questionsSeen = 0, editedSeen = 0, changedSeen = 0, abortedSeen = 0,
        bigSeen = 0;
    // Fewer where every file operation is slow (under Wine: QUILLO_ORACLE_ROUNDS).
    const int rounds = qEnvironmentVariableIntValue("QUILLO_ORACLE_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("QUILLO_ORACLE_ROUNDS")
                           : 200;
    // The corpora must exercise removals, questions, edits, changed files,
    // stops and long runs to mean anything (so many in 200 rounds, fewer in
    // fewer). A seed that falls short after its rounds goes on, up to four
    // times as many: a few rounds make a rare case only likely, not certain.
    const auto over = [rounds](int in200) { return in200 * rounds / 200; };
    const auto covered = [&] {
        return removedSeen > over(500) && questionsSeen > over(200) && editedSeen > over(50) &&
               changedSeen > over(10) && abortedSeen > over(5) && bigSeen > over(10);
    };
    for (int round = 0; round < rounds || (!covered() && round < 4 * rounds); ++round) {
        const QString where =
            QStringLiteral("seed %1 (QUILLO_SEED), round %2: ").arg(used).arg(round);
        Corpus c;
        const bool big = round % 10 == 9;
        build(c, rng, big);
        if (QTest::currentTestFailed()) QFAIL(qPrintable(where + QStringLiteral("fixture")));
        QList<Answer> modelScript = c.script;
        const Found expected = modelSearch(c, modelScript);

        test::ScriptedMessageBox box;
        box.script = c.script;
        test::FaultyFileSystem fs;
        fs.failOpen = c.failOpen;
        fs.failRead = c.failRead;
        fs.failRemove = c.failRemove;
        fs.failRename = c.failRename;
        const QString root = c.dir.path();
        const QStringList aside{QStringLiteral("data"), QStringLiteral("journal")};
        const JournalFolder journals(systemFileSystem(), root + QStringLiteral("/journal"));
        const TrashHome home{root + QStringLiteral("/data")};
        const bool toTrash = c.tools == Corpus::Tools::Trash;
        const RemovalWords words = removalWords(c.options, toTrash);
        test::RecordingProgress progress;
        qint32 dupCount = -1;
        DuplicateSearch search =
            findDuplicates(c.table, c.options, words, dupCount, progress, box, fs);
        DuplicatePlan& plan = search.plan;

        CHECK(box.texts == expected.questions,
              QStringLiteral("questions\n%1\nmodel\n%2")
                  .arg(box.texts.join(u'\n'), expected.questions.join(u'\n')));
        std::vector<std::pair<qint32, qint32>> found;
        for (const DuplicateRow& r : plan.rows) found.push_back({r.entry, plan.groupOf(r).kept});
        CHECK(expected.stopped ? plan.empty() : found == expected.rows, QStringLiteral("plan"));
        if (expected.stopped) {
            CHECK(search.outcome.end == CommandEnd::Aborted, QStringLiteral("not stopped"));
            ++abortedSeen;
            continue;
        }
        CommandOutcome counted;
        counted.end = CommandEnd::Completed;
        counted.failed = expected.failed;
        counted.kept = expected.kept;
        if (c.table.FileCount() < 2) {
            CHECK(search.outcome.end == CommandEnd::Nothing && dupCount == -1,
                  QStringLiteral("a table of one"));
            continue;
        }
        if (plan.empty()) {
            const QString message = expected.failed == 0 && expected.kept == 0
                                        ? QStringLiteral("重複ファイルは有りませんでした")
                                        : countedMessage(counted, words.done, words.failed);
            CHECK(
                search.outcome.message == message,
                QStringLiteral("nothing found: %1, model %2").arg(search.outcome.message, message));
            continue;
        }

        // The user's edits and the changes behind the plan's back, made alike
        // on the plan and in the model.
        const std::vector<FileEntry>& entries = c.table.entries;
        std::vector<std::pair<qint32, qint32>> pairs = expected.rows;
        QSet<qint32> changed;
        for (size_t k = 0; k < plan.rows.size(); ++k) {
            if (rng.bounded(100) < 15 && plan.canSwap(k)) {
                plan.swap(k);
                // Every row of the group now keeps the former duplicate.
                const qint32 was = pairs[k].second;
                const qint32 now = pairs[k].first;
                for (auto& p : pairs)
                    if (p.second == was) p.second = now;
                pairs[k] = {was, now};
                ++editedSeen;
            }
            if (rng.bounded(100) < 15) {
                plan.rows[k].ticked = false;
                ++editedSeen;
            }
        }
        // A few files of the plan, big or small.
        for (int meddled = 0; meddled < int(rng.bounded(3)); ++meddled) {
            const size_t k = rng.bounded(quint32(plan.rows.size()));
            const qint32 victim = rng.bounded(2) ? pairs[k].first : pairs[k].second;
            const auto how = Meddling(1 + rng.bounded(4));
            const QString dir = entries[size_t(victim)].dir.text();
            if (changed.contains(victim) || QFileInfo::exists(folderSetting(dir) + u'~')) continue;
            // Swapping a folder holding others changes them all: only the innermost.
            if (how == Meddling::FolderSwapped &&
                std::any_of(entries.begin(), entries.end(), [&](const FileEntry& e) {
                    return e.dir.text() != dir && e.dir.text().startsWith(dir);
                }))
                continue;
            const FileId id = idOf(entries[size_t(victim)].path());
            meddle(entries[size_t(victim)].path(), how);
            // A file written in place changes under all its names.
            const bool inPlace = how == Meddling::Contents || how == Meddling::Size;
            for (qint32 e = 0; e < qint32(entries.size()); ++e)
                if (e == victim || (inPlace && entries[size_t(e)].id == id) ||
                    (how == Meddling::FolderSwapped &&
                     entries[size_t(e)].dir.text().startsWith(dir)))
                    changed.insert(e);
        }
        if (QTest::currentTestFailed()) QFAIL(qPrintable(where + QStringLiteral("meddling")));

        // The model of carrying it out.
        const bool move = c.options.chkDelete == CheckValue::On;
        QMap<QString, QByteArray> deleteFolder = folderContents(c.options.deleteFolder);
        const bool folderExists = QFileInfo(c.options.deleteFolder).isDir();
        const QMap<QString, QByteArray> before = test::treeContents(root, aside);
        QMap<QString, QByteArray> after = before;
        QStringList questions;
        std::vector<RowOutcome> outcomes(pairs.size(), RowOutcome::Planned);
        bool aborted = false;
        qint32 done = 0, failed = expected.failed, changedCount = 0;
        for (size_t k = 0; k < pairs.size() && !aborted; ++k) {
            if (!plan.rows[k].ticked) {
                outcomes[k] = RowOutcome::LeftOut;
                continue;
            }
            const FileEntry& dup = entries[size_t(pairs[k].first)];
            // A swap can make a second name of one file the kept one: the
            // same file is never a duplicate of itself.
            const bool sameFile = idOf(dup.path()) == idOf(entries[size_t(pairs[k].second)].path());
            if (changed.contains(pairs[k].first) || changed.contains(pairs[k].second) || sameFile) {
                outcomes[k] = RowOutcome::Changed;
                ++changedCount;
                continue;
            }
            const QHash<QString, int>& refused = move || toTrash ? c.failRename : c.failRemove;
            std::optional<Failed> fail;
            if (refused.contains(dup.path()))
                fail = Failed{makeFailure(refused.value(dup.path())), dup.path()};
            else if (move && !folderExists)
                fail = Failed{makeFailure(code::PathNotFound), dup.path()};
            else if (move && deleteFolder.contains(dup.name))
                fail = Failed{makeFailure(code::FileExists), dup.path()};
            if (fail) {
                outcomes[k] = RowOutcome::Failed;
                ++failed;
                questions << question(*fail);
                aborted = !modelScript.isEmpty() && modelScript.takeFirst() == Answer::No;
                continue;
            }
            const QString relative = dup.path().mid(root.size() + 1);
            if (move) {
                deleteFolder.insert(dup.name, after.value(relative));
                after.insert(
                    c.options.deleteFolder.mid(root.size() + 1) + QLatin1Char('/') + dup.name,
                    after.value(relative));
            }
            after.remove(relative);
            outcomes[k] = move || toTrash ? RowOutcome::Done : RowOutcome::DeletedForGood;
            ++done;
        }

        box.texts.clear();
        {
            TrashCan trash(fs, home);
            RunJournal journal(journals, JournalKind::Remove);
            RemovalTools tools;
            if (toTrash) tools.trash = &trash;
            if (c.tools != Corpus::Tools::Bare) tools.journal = &journal;
            progress.finish(
                removeDuplicates(c.table, plan, c.options, dupCount, progress, box, fs, tools),
                CommandButton::Delete, box);
        }
        CHECK(box.texts == questions, QStringLiteral("questions on the way\n%1\nmodel\n%2")
                                          .arg(box.texts.join(u'\n'), questions.join(u'\n')));
        for (size_t k = 0; k < pairs.size(); ++k)
            CHECK(plan.rows[k].outcome == outcomes[k] && plan.rows[k].entry == pairs[k].first &&
                      plan.groupOf(plan.rows[k]).kept == pairs[k].second,
                  QStringLiteral("row %1: outcome %2 (model %3), %4 keeps %5 (model %6 keeps %7)")
                      .arg(k)
                      .arg(int(plan.rows[k].outcome))
                      .arg(int(outcomes[k]))
                      .arg(plan.rows[k].entry)
                      .arg(plan.groupOf(plan.rows[k]).kept)
                      .arg(pairs[k].first)
                      .arg(pairs[k].second));
        CHECK(dupCount == done, QStringLiteral("count %1, model %2").arg(dupCount).arg(done));
        CHECK(test::treeContents(root, aside) == after, QStringLiteral("tree"));
        counted.end = aborted ? CommandEnd::Aborted : CommandEnd::Completed;
        counted.done = done;
        counted.failed = failed;
        counted.changed = changedCount;
        CHECK(progress.lastMessage == countedMessage(counted, words.done, words.failed),
              QStringLiteral("message ") + progress.lastMessage);

        // Undo gives back the tree as it was before the removals, but for files
        // deleted for good; a run written down nowhere cannot be taken back.
        test::RecordingProgress undoProgress;
        test::ScriptedMessageBox yes;
        TrashCan trash(systemFileSystem(), home);
        undoProgress.finish(runUndo(journals, trash, undoProgress, yes), CommandButton::Undo, yes);
        const bool bare = c.tools == Corpus::Tools::Bare;
        const bool forGood = !move && !toTrash;
        QMap<QString, QByteArray> back = bare || forGood ? after : before;
        CHECK(test::treeContents(root, aside) == back, QStringLiteral("undo"));
        if (!bare && done > 0) {
            const int lost = forGood ? done : 0;
            CHECK(
                undoProgress.lastMessage ==
                    QStringLiteral("%1件、元に戻しました").arg(done - lost) +
                        (lost ? QStringLiteral("（%1件は戻せませんでした）").arg(lost) : QString()),
                QStringLiteral("undo message ") + undoProgress.lastMessage);
        } else {
            CHECK(yes.texts == QStringList{QStringLiteral("元に戻す処理はありません")},
                  QStringLiteral("nothing to undo"));
        }
        if (toTrash)
            CHECK(QDir(root + QStringLiteral("/data/Trash/info")).isEmpty(),
                  QStringLiteral("trash records left"));
        removedSeen += done;
        questionsSeen += int(expected.questions.size() + questions.size());
        changedSeen += changedCount;
        abortedSeen += aborted ? 1 : 0;
        bigSeen += big && done > 20 ? 1 : 0;
    }
    QVERIFY2(covered(),
             qPrintable(QStringLiteral("seed %1: %2 removals, %3 questions, %4 edits, %5 changed, "
                                       "%6 stopped, %7 long runs")
                            .arg(used)
                            .arg(removedSeen)
                            .arg(questionsSeen)
                            .arg(editedSeen)
                            .arg(changedSeen)
                            .arg(abortedSeen)
                            .arg(bigSeen)));
    qInfo("seed %u: %d removals, %d questions, %d edits, %d changed, %d stopped, %d long runs",
          used, removedSeen, questionsSeen, editedSeen, changedSeen, abortedSeen, bigSeen);
}

QTEST_GUILESS_MAIN(TstDedupOracle)
#include "tst_dedup_oracle.moc"
