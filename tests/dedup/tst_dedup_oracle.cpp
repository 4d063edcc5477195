// Random corpora run through the real command and through a plain model of the
// pair loop (every pair of a size, whole files in memory, no grouping, no
// pieces): the same files must survive, with the same count, messages and
// questions in the same order. Some corpora hold runs of hundreds of entries
// of one size in many content groups, with failures injected by path.
#include <unistd.h>

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

// What the model expects a pass to leave behind.
struct Outcome {
    QStringList events, questions;
    qint32 dupCount = 0;
    bool stopped = false;  // the user answered No
    QSet<QString> removed;
    QSet<QString> kept;                      // targets asked about: not removed
    QMap<QString, QByteArray> deleteFolder;  // name -> content
    QStringList rows;
};

// A file as the model sees it on disk.
struct OnDisk {
    QByteArray bytes;
    FileId id;
};

QString render(const FileEntry& e) {
    return QStringLiteral("%1|%2|%3|%4").arg(e.size).arg(kindLabel(e.kind), e.dir, e.name);
}

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
        if (!c.written.isEmpty() && chance(8)) {
            // Another name for a file already written.
            const QString other = pick(c.written);
            QDir().mkpath(dir);
            QVERIFY(::link(qPrintable(other), qPrintable(path)) == 0);
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
    bool identical = false;
};

// The pair loop as plainly as it can be written, over what is on disk before
// the pass.
Outcome model(const Corpus& c) {
    Outcome out;
    std::vector<FileEntry> rows = c.table.entries;
    const auto key = [](const FileEntry& r) {
        return std::make_tuple(r.size, r.kind, r.dir.toStdU16String(), r.name.toStdU16String());
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const FileEntry& a, const FileEntry& b) { return key(a) < key(b); });
    const int n = int(rows.size());
    out.deleteFolder = folderContents(c.options.deleteFolder);
    if (n < 2) {
        // Nothing happens at all: the count keeps the caller's value.
        out.dupCount = -1;
        out.events << QStringLiteral("enabled:2=1");
        for (const FileEntry& r : rows) out.rows << render(r);
        return out;
    }
    QHash<QString, OnDisk> disk;
    for (const FileEntry& r : rows)
        if (QFileInfo::exists(r.path()))
            disk.insert(r.path(), OnDisk{test::readFile(r.path()), idOf(r.path())});
    std::set<FileId> references;
    for (const FileEntry& r : rows)
        if (r.kind == FileKind::Refer && r.id != FileId{}) references.insert(r.id);
    const auto keep = [&](const FileEntry& r) {
        return r.kind == FileKind::Refer || references.count(r.id) > 0;
    };
    const bool move = c.options.chkDelete == CheckValue::On;
    const bool folderExists = QFileInfo(c.options.deleteFolder).isDir();
    const auto readRefused = [](int code) {
        Failure f = makeFailure(code);
        if (code == code::PermissionDenied) f.description = QStringLiteral("読み込みできません。");
        return f;
    };

    // One comparison: look at both, open both, read both, compare, remove.
    const auto compare = [&](const FileEntry& a, FileEntry& b) -> std::optional<Failed> {
        const QString p[2] = {a.path(), b.path()};
        for (const QString& path : p)
            if (!disk.contains(path)) return Failed{makeFailure(code::FileNotFound), path};
        const OnDisk& one = disk[p[0]];
        const OnDisk& two = disk[p[1]];
        if (one.bytes.size() != b.size || two.bytes.size() != b.size || one.id == two.id)
            return std::nullopt;
        for (const QHash<QString, int>* faults : {&c.failOpen, &c.failRead})
            for (const QString& path : p)
                if (faults->contains(path)) return Failed{readRefused(faults->value(path)), path};
        if (one.bytes != two.bytes || references.count(two.id) > 0) return std::nullopt;
        // A file goes to the trash by a rename.
        const QHash<QString, int>& refused =
            move || c.tools == Corpus::Tools::Trash ? c.failRename : c.failRemove;
        if (refused.contains(p[1])) return Failed{makeFailure(refused.value(p[1])), p[1], true};
        if (move && !folderExists) return Failed{makeFailure(code::PathNotFound), p[1], true};
        if (move && out.deleteFolder.contains(b.name))
            return Failed{makeFailure(code::FileExists), p[1], true};
        if (move) out.deleteFolder.insert(b.name, two.bytes);
        out.removed.insert(p[1]);
        disk.remove(p[1]);
        ++out.dupCount;
        b.dir.clear();
        b.name.clear();
        return std::nullopt;
    };

    QList<Answer> script = c.script;
    bool& aborted = out.stopped;
    QSet<QString> asked;  // a file asked about once is not compared again
    out.events << QStringLiteral("message:並び替えています、しばらくお待ち下さい")
               << QStringLiteral("message:解析しています、しばらくお待ち下さい");
    for (int i = 0; i < n - 1 && !aborted; ++i) {
        for (int j = i + 1; j < n && !aborted; ++j) {
            FileEntry& a = rows[size_t(i)];
            FileEntry& b = rows[size_t(j)];
            if (a.size != b.size || a.removed() || asked.contains(a.path())) break;
            if (b.removed() || keep(b) || asked.contains(b.path())) continue;
            const std::optional<Failed> failed = compare(a, b);
            if (!failed) continue;
            asked.insert(failed->path);
            const FileEntry& whose = failed->path == a.path() ? a : b;
            if (whose.kind == FileKind::Target && !keep(whose)) out.kept.insert(failed->path);
            const int code = failed->failure.code;
            out.questions << (code == code::FileExists
                                  ? failed->path + QStringLiteral(" ファイルが重複しています")
                              : code == code::FileNotFound
                                  ? failed->path + QStringLiteral(" が見つかりません")
                                  : failed->path + QLatin1Char('\r') + QString::number(code) +
                                        failed->failure.description) +
                                 QStringLiteral("\r処理を続けますか？");
            aborted = !script.isEmpty() && script.takeFirst() == Answer::No;
        }
        if (!aborted) out.events << QStringLiteral("count:(%1/%2)").arg(i + 1).arg(n);
    }
    const QString verb = move ? QStringLiteral("移動") : QStringLiteral("削除");
    const QString done =
        QString::number(out.dupCount) + QStringLiteral("件、") + verb + QStringLiteral("しました");
    // Targets that are reference files (hard links of one) stay, and are counted.
    int referencesKept = 0;
    for (const FileEntry& r : rows)
        if (r.kind == FileKind::Target && keep(r)) ++referencesKept;
    QStringList notes;
    if (!out.kept.isEmpty())
        notes << QString::number(out.kept.size()) + QStringLiteral("件は") + verb +
                     QStringLiteral("できませんでした");
    if (referencesKept > 0)
        notes << QString::number(referencesKept) +
                     QStringLiteral("件は参照ファイルのため残しました");
    QString message;
    if (aborted)
        message = QStringLiteral("強制終了しました（") + (QStringList{done} + notes).join(u"、") +
                  QStringLiteral("）");
    else if (out.dupCount == 0 && notes.isEmpty())
        message = QStringLiteral("重複ファイルは有りませんでした");
    else if (notes.isEmpty())
        message = done;
    else
        message = done + QStringLiteral("（") + notes.join(u"、") + QStringLiteral("）");
    if (!aborted) out.events << QStringLiteral("save");
    out.events << QStringLiteral("clear") << QStringLiteral("black")
               << QStringLiteral("message:") + message << QStringLiteral("enabled:2=1");
    for (const FileEntry& r : rows) out.rows << render(r);
    return out;
}

}  // namespace

class TstDedupOracle : public QObject {
    Q_OBJECT
  private slots:
    void randomCorporaMatchThePlainModel();
};

void TstDedupOracle::randomCorporaMatchThePlainModel() {
    bool fixed = false;
    const quint32 seed = quint32(qEnvironmentVariableIntValue("QUILLO_SEED", &fixed));
    const quint32 used = fixed ? seed : QRandomGenerator::global()->generate();
    QRandomGenerator rng(used);
    int removedSeen = 0, questionsSeen = 0, keptSeen = 0, abortedSeen = 0, bigSeen = 0;
    for (int round = 0; round < 200; ++round) {
        const QString where =
            QStringLiteral("seed %1 (QUILLO_SEED), round %2: ").arg(used).arg(round);
        Corpus c;
        const bool big = round % 10 == 9;
        build(c, rng, big);
        if (QTest::currentTestFailed()) QFAIL(qPrintable(where + QStringLiteral("fixture")));
        const Outcome expected = model(c);

        FileTable table = c.table;
        test::RecordingProgress progress;
        test::ScriptedMessageBox box;
        box.script = c.script;
        test::FaultyFileSystem fs;
        fs.failOpen = c.failOpen;
        fs.failRead = c.failRead;
        fs.failRemove = c.failRemove;
        fs.failRename = c.failRename;
        qint32 dupCount = -1;
        const QString root = c.dir.path();
        const QStringList aside{QStringLiteral("data"), QStringLiteral("journal")};
        const QMap<QString, QByteArray> before = test::treeContents(root, aside);
        const JournalFolder journals(systemFileSystem(), root + QStringLiteral("/journal"));
        const TrashHome home{root + QStringLiteral("/data"), currentUserId()};
        {
            TrashCan trash(fs, home);
            RunJournal journal(journals, JournalKind::Remove);
            RemovalTools tools;
            if (c.tools == Corpus::Tools::Trash) tools.trash = &trash;
            if (c.tools != Corpus::Tools::Bare) tools.journal = &journal;
            progress.finish(
                runDuplicateRemoval(table, c.options, dupCount, progress, box, fs, tools),
                CommandButton::Delete, box);
        }

        QVERIFY2(
            dupCount == expected.dupCount,
            qPrintable(where +
                       QStringLiteral("count %1, model %2").arg(dupCount).arg(expected.dupCount)));
        QVERIFY2(
            box.texts == expected.questions,
            qPrintable(where + QStringLiteral("questions\n%1\nmodel\n%2")
                                   .arg(box.texts.join(u'\n'), expected.questions.join(u'\n'))));
        QVERIFY2(
            progress.events == expected.events,
            qPrintable(where + QStringLiteral("events\n%1\nmodel\n%2")
                                   .arg(progress.events.join(u'\n'), expected.events.join(u'\n'))));
        for (const QString& path : c.written)
            QVERIFY2(test::exists(path) == !expected.removed.contains(path),
                     qPrintable(where + path));
        QVERIFY2(folderContents(c.options.deleteFolder) == expected.deleteFolder,
                 qPrintable(where + QStringLiteral("delete folder")));
        QStringList rows;
        for (const FileEntry& e : table.entries) rows << render(e);
        QVERIFY2(rows == expected.rows,
                 qPrintable(where + QStringLiteral("table\n") + rows.join(u'\n')));
        // Undo gives back the tree as it was, but for files deleted for good;
        // a run written down nowhere cannot be taken back.
        const QMap<QString, QByteArray> passed = test::treeContents(root, aside);
        test::RecordingProgress undoProgress;
        test::ScriptedMessageBox yes;
        TrashCan trash(systemFileSystem(), home);
        undoProgress.finish(runUndo(journals, trash, undoProgress, yes), CommandButton::Undo, yes);
        const bool bare = c.tools == Corpus::Tools::Bare;
        const bool forGood =
            c.options.chkDelete != CheckValue::On && c.tools != Corpus::Tools::Trash;
        QMap<QString, QByteArray> back = bare ? passed : before;
        if (forGood && !bare)
            for (const QString& path : expected.removed) back.remove(path.mid(root.size() + 1));
        QVERIFY2(test::treeContents(root, aside) == back,
                 qPrintable(where + QStringLiteral("undo")));
        if (!bare && dupCount > 0) {
            const int lost = forGood ? dupCount : 0;
            QCOMPARE(
                undoProgress.lastMessage,
                QStringLiteral("%1件、元に戻しました").arg(dupCount - lost) +
                    (lost ? QStringLiteral("（%1件は戻せませんでした）").arg(lost) : QString()));
        } else {
            QCOMPARE(yes.texts, QStringList{QStringLiteral("元に戻す処理はありません")});
        }
        if (c.tools == Corpus::Tools::Trash)
            QVERIFY2(QDir(root + QStringLiteral("/data/Trash/info")).isEmpty(),
                     qPrintable(where + QStringLiteral("trash records left")));
        removedSeen += int(expected.removed.size());
        questionsSeen += int(expected.questions.size());
        keptSeen += int(expected.kept.size());
        abortedSeen += expected.stopped ? 1 : 0;
        bigSeen += big && expected.removed.size() > 20 ? 1 : 0;
    }
    // The corpora must exercise removals, questions, failed removals, stops
    // and long runs to mean anything.
    QVERIFY2(removedSeen > 500 && questionsSeen > 200 && keptSeen > 10 && abortedSeen > 5 &&
                 bigSeen > 10,
             qPrintable(QStringLiteral("seed %1: %2 removals, %3 questions, %4 kept, %5 stopped, "
                                       "%6 long runs")
                            .arg(used)
                            .arg(removedSeen)
                            .arg(questionsSeen)
                            .arg(keptSeen)
                            .arg(abortedSeen)
                            .arg(bigSeen)));
    qInfo("seed %u: %d removals, %d questions, %d kept, %d stopped, %d long runs", used,
          removedSeen, questionsSeen, keptSeen, abortedSeen, bigSeen);
}

QTEST_GUILESS_MAIN(TstDedupOracle)
#include "tst_dedup_oracle.moc"
