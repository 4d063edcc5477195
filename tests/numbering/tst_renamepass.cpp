// The rename and move command on real folders: names, numbers, the move
// option, and every failure question with both answers.
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/failure.h"
#include "core/paths.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "journal/heldjournal.h"
#include "journal/journalfiles.h"
#include "journal/runjournal.h"
#include "numbering/planrenames.h"
#include "numbering/renamepass.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"
#include "trash/trashcan.h"
#include "undo/undocommand.h"

using namespace quillo;
using namespace quillo::test;

namespace {

const QString kContinue = QStringLiteral("処理を続けますか？");

RenameRequest defaultRequest() {
    RenameRequest r;
    r.name = QStringLiteral("GAZOU");
    r.number = QStringLiteral("00007");
    r.DigitCount = 5;
    r.extension = QStringLiteral(".JPG");
    r.chkJpegJpg = CheckValue::On;
    r.chkMove = CheckValue::Off;
    return r;
}

// A folder of files: each name gets its own contents so that a lost or
// replaced file shows.
struct Folder {
    QTemporaryDir tmp;
    QString path;
    FileTable table;

    Folder() : path(tmp.path() + QStringLiteral("/写真")) { makeDir(path); }

    QString file(const QString& name) const { return joinPath(path, name); }
    QByteArray content(const QString& name) const { return name.toUtf8() + "-bytes"; }

    // Creates name on disk (unless missing) and appends it to the table.
    void add(const QString& name, FileKind kind = FileKind::Target, bool missing = false) {
        if (!missing) writeFile(file(name), content(name));
        table.append({folderPrefix(path), name, 10, kind, {}});
    }
    void addReference(const QString& name) { add(name, FileKind::Refer); }

    bool holds(const QString& fileName, const QString& contentOf) const {
        return readFile(file(fileName)) == content(contentOf);
    }
    QStringList names() const {
        return QDir(path).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

// A question as the user sees it: files named as this system writes paths.
QString question(const QString& head) {
    return nativePath(head) + QLatin1Char('\r') + kContinue;
}

// The question for a failure other than "exists" or "missing": the file, then
// the code and its description.
QString question(const QString& path, const QString& codeAndText) {
    return question(path + QLatin1Char('\r') + codeAndText);
}

// The closing events of a run in which some renames failed.
QStringList completedWithFailures(int renamed, int failed) {
    return {QStringLiteral("save"), QStringLiteral("clear"), QStringLiteral("black"),
            QStringLiteral("message:%1件、リネームしました（%2件はリネームできませんでした）")
                .arg(renamed)
                .arg(failed),
            QStringLiteral("enabled:3=1")};
}

// The events of a run that ends normally after renaming n files, after its
// per-entry part.
QStringList completed(int n) {
    return {QStringLiteral("save"), QStringLiteral("clear"), QStringLiteral("black"),
            QStringLiteral("message:%1件、リネームしました").arg(n), QStringLiteral("enabled:3=1")};
}
// The events of a run stopped by a No after n renames and one failure.
QStringList stopped(int n) {
    return {QStringLiteral("clear"), QStringLiteral("black"),
            QStringLiteral("message:強制終了しました（%1件、リネームしました、1件はリネームできま"
                           "せんでした）")
                .arg(n),
            QStringLiteral("enabled:3=1")};
}

bool endsWith(const QStringList& events, const QStringList& tail) {
    return events.size() >= tail.size() && events.mid(events.size() - tail.size()) == tail;
}

}  // namespace

class TstRenamePass : public QObject {
    Q_OBJECT
  private slots:
    void workedExample() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.addReference(QStringLiteral("b.jpg"));
        f.add(QStringLiteral("c.jpg"));
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(f.names(),
                 (QStringList{QStringLiteral("GAZOU00007.JPG"), QStringLiteral("GAZOU00008.JPG"),
                              QStringLiteral("b.jpg")}));
        QVERIFY(f.holds(QStringLiteral("GAZOU00007.JPG"), QStringLiteral("a.jpg")));
        QVERIFY(f.holds(QStringLiteral("GAZOU00008.JPG"), QStringLiteral("c.jpg")));
        QVERIFY(f.holds(QStringLiteral("b.jpg"), QStringLiteral("b.jpg")));
        QVERIFY(box.texts.isEmpty());
        // Each entry looked at by the search, each target once more when renamed.
        QCOMPARE(progress.blinks, 3 + 2);
        QCOMPARE(progress.lastNumber, QStringLiteral("00009"));
        QCOMPARE(progress.events,
                 QStringList({QStringLiteral("message:確認しています、しばらくお待ち下さい"),
                              QStringLiteral("count:(1/3)"), QStringLiteral("count:(2/3)"),
                              QStringLiteral("count:(3/3)"),
                              QStringLiteral("message:リネームしています、しばらくお待ち下さい"),
                              QStringLiteral("number:00008"), QStringLiteral("count:(1/3)"),
                              QStringLiteral("number:00009"), QStringLiteral("count:(3/3)")}) +
                     completed(2));
    }

    // A numbering run written down, then taken back: with the move option,
    // from a journal cut after each of its lines or left pending by a kill,
    // with a file that cannot go back or whose old name is taken again (the
    // run stays on offer, and comes back whole once the name is free), with
    // a row edited to name another file, which stays where it is, and with a
    // file changed between its collection and the run: the run knows it as
    // it renamed it.
    void undoGivesBackTheTree_data() {
        QTest::addColumn<bool>("move");
        QTest::addColumn<int>("keepRows");  // rows left in the journal; -1: all
        QTest::addColumn<bool>("lastPending");
        QTest::addColumn<int>("stuck");  // file whose way back fails; -1: none
        // "retaken": a new a.jpg; "edited": row 1 names other.jpg; "changed":
        // b.jpg rewritten between the collection and the run.
        QTest::addColumn<QString>("meddling");
        QTest::newRow("rename") << false << -1 << false << -1 << QString();
        QTest::newRow("rename and move") << true << -1 << false << -1 << QString();
        for (int k = 0; k <= 3; ++k)
            QTest::addRow("journal cut after row %d", k) << true << k << false << -1 << QString();
        QTest::newRow("killed before the outcome") << false << -1 << true << -1 << QString();
        QTest::newRow("refused on the way back") << true << -1 << false << 1 << QString();
        QTest::newRow("old name taken again")
            << false << -1 << false << -1 << QStringLiteral("retaken");
        QTest::newRow("changed since the collection")
            << false << -1 << false << -1 << QStringLiteral("changed");
        QTest::newRow("edited to name another file")
            << false << -1 << false << -1 << QStringLiteral("edited");
        QTest::newRow("journal disk full during the undo")
            << true << -1 << false << -1 << QStringLiteral("full");
    }

    void undoGivesBackTheTree() {
        QFETCH(bool, move);
        QFETCH(int, keepRows);
        QFETCH(bool, lastPending);
        QFETCH(int, stuck);
        QFETCH(QString, meddling);
        const bool retaken = meddling == QLatin1String("retaken");
        const bool edited = meddling == QLatin1String("edited");
        const bool changed = meddling == QLatin1String("changed");
        const bool full = meddling == QLatin1String("full");
        Folder f;
        const QString root = f.tmp.path();
        const QStringList names{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                                QStringLiteral("c.jpg")};
        for (const QString& name : names) f.add(name);
        // Which file each entry is, as a collection records it.
        for (FileEntry& e : f.table.entries) {
            const Result<FileInfo> info = systemFileSystem().info(e.path());
            QVERIFY(info);
            e.size = info->size;
            e.id = info->id();
            e.mtimeNs = info->mtimeNs;
        }
        makeDir(root + QStringLiteral("/移動"));
        RenameRequest request = defaultRequest();
        request.chkMove = move ? CheckValue::On : CheckValue::Off;
        request.moveFolder = root + QStringLiteral("/移動");
        if (changed) writeFile(f.file(names[1]), "changed after the collection");
        const QMap<QString, QByteArray> before = treeContents(root, {QStringLiteral("journal")});
        {
            RecordingProgress progress;
            ScriptedMessageBox box;
            RunJournal journal(JournalFolder(systemFileSystem(), root + QStringLiteral("/journal")),
                               JournalKind::Number, request.number);
            progress.finish(
                runRename(request, f.table, progress, box, systemFileSystem(), &journal),
                CommandButton::Rename, box);
        }
        const QMap<QString, QByteArray> renamed = treeContents(root, {QStringLiteral("journal")});
        FaultyFileSystem fs;
        const JournalFolder journals(fs, root + QStringLiteral("/journal"));
        const QString path = journals.list().front().path;
        QList<QByteArray> lines = readFile(path).split('\n');
        QCOMPARE(lines.size(), 1 + 3 + 1);  // header, rows, nothing after the last LF
        if (keepRows >= 0) lines = lines.mid(0, 1 + keepRows) << QByteArray();
        if (lastPending) lines[3].replace("done", "pending");
        if (edited) {
            writeFile(f.file(QStringLiteral("other.jpg")), "other");
            lines[1].replace("GAZOU00007.JPG", "other.jpg");
        }
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(lines.join('\n'));
        out.close();
        if (retaken) writeFile(f.file(names[0]), "new");
        const QString newDir = move ? request.moveFolder : f.path;
        if (stuck >= 0)
            fs.failRename.insert(newDir + QStringLiteral("/GAZOU0000%1.JPG").arg(7 + stuck),
                                 code::PermissionDenied);
        if (full) fs.failRecord.insert(journals.path(), code::DiskFull);

        TrashCan trash(fs, TrashHome{root + QStringLiteral("/data")});
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runUndo(journals, trash, progress, box), CommandButton::Undo, box);

        // What the journal names and can go back goes back; the rest stays.
        const int named = keepRows >= 0 ? keepRows : 3;
        if (named == 0) {
            QCOMPARE(box.texts, QStringList{QStringLiteral("元に戻す処理はありません")});
            QCOMPARE(treeContents(root, {QStringLiteral("journal")}), renamed);
            return;
        }
        QMap<QString, QByteArray> expected = renamed;
        const auto expectBack = [&](int k) {
            const QString from = QStringLiteral("%1/GAZOU0000%2.JPG")
                                     .arg(move ? QStringLiteral("移動") : QStringLiteral("写真"))
                                     .arg(7 + k);
            expected.remove(from);
            expected.insert(QStringLiteral("写真/") + names[k],
                            before.value(QStringLiteral("写真/") + names[k]));
        };
        int back = 0;
        const auto staysOut = [&](int k) {
            return full || k == stuck || ((retaken || edited) && k == 0);
        };
        for (int k = 0; k < named; ++k) {
            if (staysOut(k)) continue;
            expectBack(k);
            ++back;
        }
        if (retaken) expected.insert(QStringLiteral("写真/a.jpg"), "new");
        if (edited) expected.insert(QStringLiteral("写真/other.jpg"), "other");
        QCOMPARE(treeContents(root, {QStringLiteral("journal")}), expected);
        QCOMPARE(box.texts.value(0),
                 QStringLiteral("直前の処理（%1件）を元に戻しますか？").arg(named));
        const int notBack = named - back;
        QCOMPARE(
            progress.lastMessage,
            QStringLiteral("%1件、元に戻しました").arg(back) +
                (notBack ? QStringLiteral("（%1件は戻せませんでした）").arg(notBack) : QString()));
        // The number box goes back only with every numbered file.
        QCOMPARE(progress.lastNumber, notBack == 0 ? QStringLiteral("00007") : QString());

        // A file still where the run put it keeps the run on offer; once its
        // way is free it comes back too.
        if (stuck >= 0 || retaken || full) {
            fs.failRename.clear();
            fs.failRecord.clear();
            if (retaken) QVERIFY(QFile::remove(f.file(names[0])));
            ScriptedMessageBox rest;
            progress.finish(runUndo(journals, trash, progress, rest), CommandButton::Undo, rest);
            QCOMPARE(rest.texts.value(0),
                     (back ? QStringLiteral("直前の処理の残り（%1件）を元に戻しますか？")
                           : QStringLiteral("直前の処理（%1件）を元に戻しますか？"))
                         .arg(notBack));
            if (retaken) expected.remove(QStringLiteral("写真/a.jpg"));
            for (int k = 0; k < named; ++k)
                if (staysOut(k)) expectBack(k);
            QCOMPARE(treeContents(root, {QStringLiteral("journal")}), expected);
            QCOMPARE(progress.lastMessage, QStringLiteral("%1件、元に戻しました").arg(notBack));
            QCOMPARE(progress.lastNumber, QStringLiteral("00007"));
        }
        // Taken back as far as it can be: the next undo has nothing left.
        ScriptedMessageBox again;
        progress.finish(runUndo(journals, trash, progress, again), CommandButton::Undo, again);
        QCOMPARE(again.texts, QStringList{QStringLiteral("元に戻す処理はありません")});
    }

    // Another process holds the run's journal (its run, or an undo of it, is
    // under way there): nothing is taken back, and nothing before it either,
    // until that process lets go, or dies: the system drops its lock.
    void undoWaitsForARunHeldElsewhere_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("lets go") << false;
        QTest::newRow("killed") << true;
    }
    void undoWaitsForARunHeldElsewhere() {
        QFETCH(bool, killed);
        Folder f;
        for (const char* name : {"a.jpg", "b.jpg"}) f.add(QString::fromLatin1(name));
        const JournalFolder journals(systemFileSystem(), f.tmp.path() + QStringLiteral("/journal"));
        {
            RecordingProgress progress;
            ScriptedMessageBox box;
            RunJournal journal(journals, JournalKind::Number, QStringLiteral("00007"));
            progress.finish(
                runRename(defaultRequest(), f.table, progress, box, systemFileSystem(), &journal),
                CommandButton::Rename, box);
        }
        const QStringList renamed = f.names();
        QProcess other;
        QVERIFY(holdLockElsewhere(other, journals.list().front().path));
        QTRY_VERIFY(!HeldJournal::open(systemFileSystem(), journals.list().front().path));
        TrashCan trash(systemFileSystem(), TrashHome{f.tmp.path()});
        RecordingProgress progress;
        ScriptedMessageBox busy;
        progress.finish(runUndo(journals, trash, progress, busy), CommandButton::Undo, busy);
        QCOMPARE(busy.texts,
                 QStringList{QStringLiteral(
                     "直前の処理は別のQuilloが使用中です。終わってからもう一度お試し下さい")});
        QCOMPARE(f.names(), renamed);
        if (killed)
            other.kill();
        else
            other.closeWriteChannel();
        QVERIFY(other.waitForFinished());
        ScriptedMessageBox box;
        progress.finish(runUndo(journals, trash, progress, box), CommandButton::Undo, box);
        QCOMPARE(f.names(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    }

    // A plan carried out as the user left it, with a file changed behind its
    // back: only the ticked files as the search saw them are renamed, each to
    // the name the plan showed; the others keep their names and numbers.
    void aPlanIsCarriedOutAsLeft_data() {
        QTest::addColumn<QString>("meddling");  // done to b.jpg between the plan and the act
        QTest::addColumn<QString>("outcome");   // what the message adds for it
        const QString changed = QStringLiteral("（1件は変更されていたため残しました）");
        QTest::newRow("left out") << QStringLiteral("untick") << QString();
        QTest::newRow("contents") << QStringLiteral("contents") << changed;
        QTest::newRow("size") << QStringLiteral("size") << changed;
        QTest::newRow("replaced") << QStringLiteral("replaced") << changed;
        QTest::newRow("folder swapped") << QStringLiteral("folder") << changed;
    }
    void aPlanIsCarriedOutAsLeft() {
        QFETCH(QString, meddling);
        QFETCH(QString, outcome);
        Folder f;
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) f.add(QString::fromLatin1(name));
        RecordingProgress progress;
        ScriptedMessageBox box;
        RenameSearch search =
            planRenames(defaultRequest(), f.table, progress, box, systemFileSystem());
        RenamePlan& plan = search.plan;
        QCOMPARE(plan.rows.size(), std::size_t(3));
        QCOMPARE(plan.newName(1), QStringLiteral("GAZOU00008.JPG"));
        const QString b = f.file(QStringLiteral("b.jpg"));
        if (meddling == u"untick") plan.rows[1].ticked = false;
        if (meddling == u"contents") writeFile(b, "B.jpg-bytes");
        if (meddling == u"size") writeFile(b, "longer than before");
        if (meddling == u"replaced") {
            QVERIFY(QFile::remove(b));
            writeFile(b, f.content(QStringLiteral("b.jpg")));
        }
        if (meddling == u"folder") {
            QVERIFY(QDir().rename(f.path, f.path + QStringLiteral("~")));
            makeDir(f.path);
            for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
                QVERIFY(QFile::copy(f.path + QStringLiteral("~/") + QString::fromLatin1(name),
                                    f.file(QString::fromLatin1(name))));
            plan.rows[0].ticked = plan.rows[2].ticked = false;
        }
        progress.finish(renameFiles(f.table, plan, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);
        if (meddling == u"folder") {
            // Every file there is another one now: none is renamed.
            QCOMPARE(f.names(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                                             QStringLiteral("c.jpg")}));
            QCOMPARE(progress.lastMessage, QStringLiteral("0件、リネームしました") + outcome);
            return;
        }
        QCOMPARE(f.names(),
                 (QStringList{QStringLiteral("GAZOU00007.JPG"), QStringLiteral("GAZOU00009.JPG"),
                              QStringLiteral("b.jpg")}));
        QVERIFY(f.holds(QStringLiteral("GAZOU00009.JPG"), QStringLiteral("c.jpg")));
        QCOMPARE(plan.rows[1].outcome,
                 meddling == u"untick" ? RowOutcome::LeftOut : RowOutcome::Changed);
        QCOMPARE(progress.lastMessage, QStringLiteral("2件、リネームしました") + outcome);
        QCOMPARE(progress.lastNumber, QStringLiteral("00010"));
        QVERIFY(box.texts.isEmpty());
    }

    // Which new names are taken when their turn comes, known before anything
    // is renamed.
    void clashesAreKnownBeforehand_data() {
        QTest::addColumn<QStringList>("names");  // the targets, in table order
        QTest::addColumn<QString>("other");      // another file in the folder
        QTest::addColumn<QList<bool>>("clash");
        QTest::newRow("free") << QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}
                              << QString() << QList<bool>{false, false};
        QTest::newRow("another file")
            << QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}
            << QStringLiteral("GAZOU00008.JPG") << QList<bool>{false, true};
        QTest::newRow("a target renamed away later")
            << QStringList{QStringLiteral("a.jpg"), QStringLiteral("GAZOU00007.JPG")} << QString()
            << QList<bool>{true, false};
        QTest::newRow("a target renamed away before")
            << QStringList{QStringLiteral("GAZOU00008.JPG"), QStringLiteral("b.jpg")} << QString()
            << QList<bool>{false, false};
        QTest::newRow("its own name")
            << QStringList{QStringLiteral("GAZOU00007.JPG")} << QString() << QList<bool>{false};
    }
    void clashesAreKnownBeforehand() {
        QFETCH(QStringList, names);
        QFETCH(QString, other);
        QFETCH(QList<bool>, clash);
        Folder f;
        for (const QString& name : names) f.add(name);
        if (!other.isEmpty()) writeFile(f.file(other), "other");
        RecordingProgress progress;
        ScriptedMessageBox box;
        const RenameSearch search =
            planRenames(defaultRequest(), f.table, progress, box, systemFileSystem());
        QList<bool> found;
        for (const RenameRow& row : search.plan.rows) found << row.clash;
        QCOMPARE(found, clash);
        QCOMPARE(f.names().size(), names.size() + (other.isEmpty() ? 0 : 1));  // nothing renamed
    }

    void workedExampleWithMove() {
        Folder f;
        const QString sorted = f.tmp.path() + QStringLiteral("/整理済み");
        makeDir(sorted);
        f.add(QStringLiteral("a.jpg"));
        f.addReference(QStringLiteral("b.jpg"));
        f.add(QStringLiteral("c.jpg"));
        RenameRequest request = defaultRequest();
        request.chkMove = CheckValue::On;
        request.moveFolder = sorted;
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(filesIn(sorted),
                 (QStringList{QStringLiteral("GAZOU00007.JPG"), QStringLiteral("GAZOU00008.JPG")}));
        QCOMPARE(readFile(joinPath(sorted, QStringLiteral("GAZOU00008.JPG"))),
                 f.content(QStringLiteral("c.jpg")));
        QCOMPARE(f.names(), QStringList{QStringLiteral("b.jpg")});
        QVERIFY(box.texts.isEmpty());
        QCOMPARE(progress.lastNumber, QStringLiteral("00009"));
        QCOMPARE(progress.saves, 1);
        QVERIFY(endsWith(progress.events, completed(2)));
    }

    void newNameParts_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<CheckValue>("chkJpegJpg");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString gazou = QStringLiteral("GAZOU");
        QTest::newRow("JPEG to JPG") << QStringLiteral(".JPEG") << CheckValue::On << gazou
                                     << QStringLiteral("GAZOU00007.JPG");
        QTest::newRow("JPEG kept") << QStringLiteral(".JPEG") << CheckValue::Off << gazou
                                   << QStringLiteral("GAZOU00007.JPEG");
        QTest::newRow("lower case kept") << QStringLiteral(".jpeg") << CheckValue::On << gazou
                                         << QStringLiteral("GAZOU00007.jpeg");
        QTest::newRow("mixed case kept") << QStringLiteral(".Jpeg") << CheckValue::On << gazou
                                         << QStringLiteral("GAZOU00007.Jpeg");
        QTest::newRow("no name") << QStringLiteral(".JPG") << CheckValue::On << QString()
                                 << QStringLiteral("00007.JPG");
        QTest::newRow("Japanese name")
            << QStringLiteral(".JPG") << CheckValue::On << QStringLiteral("旅行_")
            << QStringLiteral("旅行_00007.JPG");
    }

    void newNameParts() {
        QFETCH(QString, extension);
        QFETCH(CheckValue, chkJpegJpg);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        Folder f;
        f.add(QStringLiteral("x.jpeg"));
        RenameRequest request = defaultRequest();
        request.extension = extension;
        request.chkJpegJpg = chkJpegJpg;
        request.name = name;
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);
        QCOMPARE(f.names(), QStringList{expected});
        QVERIFY(box.texts.isEmpty());
    }

    void numberWrapsAtItsWidth() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("b.jpg"));
        RenameRequest request = defaultRequest();
        request.number = QStringLiteral("99999");
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(f.names(),
                 (QStringList{QStringLiteral("GAZOU00000.JPG"), QStringLiteral("GAZOU99999.JPG")}));
        QVERIFY(f.holds(QStringLiteral("GAZOU99999.JPG"), QStringLiteral("a.jpg")));
        QCOMPARE(progress.events.filter(QStringLiteral("number:")),
                 (QStringList{QStringLiteral("number:00000"), QStringLiteral("number:00001")}));
    }

    void numberWithoutWidthFromSettings() {
        // A settings file without a number line leaves DigitCount 0: the
        // names must still differ.
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("b.jpg"));
        RenameRequest request = defaultRequest();
        request.number = QStringLiteral("00001");
        request.DigitCount = 0;
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(f.names(),
                 (QStringList{QStringLiteral("GAZOU00001.JPG"), QStringLiteral("GAZOU00002.JPG")}));
        QVERIFY(box.texts.isEmpty());
        QCOMPARE(progress.lastNumber, QStringLiteral("00003"));
    }

    void existingNameYesUsesTheNumberUp() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("c.jpg"));
        writeFile(f.file(QStringLiteral("GAZOU00007.JPG")), "already here");
        RecordingProgress progress;
        ScriptedMessageBox box;
        box.script = {Answer::Yes};

        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        // The question names the file in the way.
        QCOMPARE(box.texts, QStringList{question(f.file(QStringLiteral("a.jpg")) +
                                                 QStringLiteral(" ファイルが重複しています（") +
                                                 f.file(QStringLiteral("GAZOU00007.JPG")) +
                                                 QStringLiteral(" が既にあります）"))});
        QCOMPARE(box.buttons, QList<Buttons>{Buttons::YesNo});
        QVERIFY(f.holds(QStringLiteral("a.jpg"), QStringLiteral("a.jpg")));
        QCOMPARE(readFile(f.file(QStringLiteral("GAZOU00007.JPG"))), QByteArray("already here"));
        QVERIFY(f.holds(QStringLiteral("GAZOU00008.JPG"), QStringLiteral("c.jpg")));
        QCOMPARE(f.names().size(), 3);
        QCOMPARE(progress.lastNumber, QStringLiteral("00009"));
        QCOMPARE(progress.saves, 1);
        QVERIFY(endsWith(progress.events, completedWithFailures(1, 1)));
    }

    void existingNameNoStopsWithoutSaving() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("c.jpg"));
        f.add(QStringLiteral("d.jpg"));
        writeFile(f.file(QStringLiteral("GAZOU00008.JPG")), "already here");
        RecordingProgress progress;
        ScriptedMessageBox box;
        box.script = {Answer::No};

        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(box.texts.size(), 1);
        QVERIFY(box.texts.first().startsWith(nativePath(f.file(QStringLiteral("c.jpg"))) +
                                             QLatin1Char(' ')));
        // Renamed before the stop stays renamed; nothing after it is touched.
        QCOMPARE(f.names(),
                 (QStringList{QStringLiteral("GAZOU00007.JPG"), QStringLiteral("GAZOU00008.JPG"),
                              QStringLiteral("c.jpg"), QStringLiteral("d.jpg")}));
        QVERIFY(f.holds(QStringLiteral("GAZOU00007.JPG"), QStringLiteral("a.jpg")));
        QCOMPARE(readFile(f.file(QStringLiteral("GAZOU00008.JPG"))), QByteArray("already here"));
        QVERIFY(f.holds(QStringLiteral("c.jpg"), QStringLiteral("c.jpg")));
        QVERIFY(f.holds(QStringLiteral("d.jpg"), QStringLiteral("d.jpg")));
        QCOMPARE(progress.saves, 0);
        QCOMPARE(progress.lastNumber, QStringLiteral("00008"));
        QCOMPARE(progress.events.mid(progress.events.size() - 5),
                 QStringList{QStringLiteral("count:(1/3)")} + stopped(1));
    }

    void ownNameCountsAsDone() {
        // A file already carrying its new name has it: done, with no rename
        // onto itself and no question.
        Folder f;
        f.add(QStringLiteral("GAZOU00007.JPG"));
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);
        QCOMPARE(box.texts, QStringList());
        QCOMPARE(progress.lastMessage, QStringLiteral("1件、リネームしました"));
        QVERIFY(f.holds(QStringLiteral("GAZOU00007.JPG"), QStringLiteral("GAZOU00007.JPG")));
        QCOMPARE(progress.lastNumber, QStringLiteral("00008"));
    }

    void neverReplacesUnderAnyAnswer() {
        // Every new name is taken; whatever the answers, every file keeps its bytes.
        for (const Answer answer : {Answer::Yes, Answer::No}) {
            Folder f;
            QStringList all;
            for (int i = 0; i < 4; ++i) {
                const QString name = QStringLiteral("f%1.jpg").arg(i);
                const QString taken =
                    QStringLiteral("GAZOU%1.JPG").arg(7 + i, 5, 10, QLatin1Char('0'));
                f.add(name);
                writeFile(f.file(taken), f.content(taken));
                all << name << taken;
            }
            RecordingProgress progress;
            ScriptedMessageBox box;
            box.whenScriptEmpty = answer;
            progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                            CommandButton::Rename, box);
            QCOMPARE(box.texts.size(), answer == Answer::Yes ? 4 : 1);
            QCOMPARE(f.names().size(), all.size());
            for (const QString& name : all) QVERIFY2(f.holds(name, name), qPrintable(name));
            QCOMPARE(progress.saves, answer == Answer::Yes ? 1 : 0);
            // Every rename failed, and the closing message says so.
            QCOMPARE(progress.lastMessage,
                     answer == Answer::Yes
                         ? QStringLiteral("0件、リネームしました（4件はリネームできませんでした）")
                         : QStringLiteral("強制終了しました（0件、リネームしました、1件はリネーム"
                                          "できませんでした）"));
        }
    }

    void vanishedFile() {
        Folder f;
        f.add(QStringLiteral("gone.jpg"), FileKind::Target, /*missing=*/true);
        f.add(QStringLiteral("c.jpg"));
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(box.texts, QStringList{question(f.file(QStringLiteral("gone.jpg")) +
                                                 QStringLiteral(" が見つかりません"))});
        QCOMPARE(f.names(), QStringList{QStringLiteral("GAZOU00008.JPG")});
        QCOMPARE(progress.lastNumber, QStringLiteral("00009"));
    }

    void fileRemovedDuringTheRun() {
        // Deleted by someone else after collection, just before its turn.
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("b.jpg"));
        FaultyFileSystem fs;
        fs.before = [&](const QString& op, const QString& path) {
            if (op == QLatin1String("rename") && path.endsWith(QLatin1String("b.jpg")))
                QFile::remove(path);
        };
        RecordingProgress progress;
        ScriptedMessageBox box;
        box.script = {Answer::No};
        progress.finish(runRename(defaultRequest(), f.table, progress, box, fs),
                        CommandButton::Rename, box);
        QCOMPARE(box.texts, QStringList{question(f.file(QStringLiteral("b.jpg")) +
                                                 QStringLiteral(" が見つかりません"))});
        QCOMPARE(f.names(), QStringList{QStringLiteral("GAZOU00007.JPG")});
        QCOMPARE(progress.saves, 0);
        QVERIFY(endsWith(progress.events, stopped(1)));
    }

    void folderTextWithNulMovesNothing() {
        // A folder text cut at its NUL would name the folder itself, and moving
        // "its file" would move the whole folder: a bad file name instead.
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.table.entries[0].dir = f.path + QChar(u'\0') + QStringLiteral("x/");
        const QString moved = f.tmp.path() + QStringLiteral("/移動");
        makeDir(moved);
        RenameRequest request = defaultRequest();
        request.chkMove = CheckValue::On;
        request.moveFolder = moved;
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);
        QCOMPARE(box.texts,
                 QStringList{question(f.table.entries[0].path(),
                                      QStringLiteral("52ファイル名または番号が不正です。"))});
        QCOMPARE(f.names(), QStringList{QStringLiteral("a.jpg")});
        QCOMPARE(filesIn(moved), QStringList());
        QVERIFY(QDir(moved).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void moveFolderMissing() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        f.add(QStringLiteral("c.jpg"));
        RenameRequest request = defaultRequest();
        request.chkMove = CheckValue::On;
        request.moveFolder = f.tmp.path() + QStringLiteral("/ない");
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        const QString text = QStringLiteral("76パスが見つかりません。");
        QCOMPARE(box.texts, (QStringList{question(f.file(QStringLiteral("a.jpg")), text),
                                         question(f.file(QStringLiteral("c.jpg")), text)}));
        QCOMPARE(f.names(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}));
        QCOMPARE(progress.lastNumber, QStringLiteral("00009"));
        QCOMPARE(progress.saves, 1);
        QVERIFY(endsWith(progress.events, completedWithFailures(0, 2)));
    }

    void moveFolderSettingUnusable() {
        // An empty or relative move folder would send files to the root or to
        // the working folder; the rename is never even tried.
        for (const QString& folder : {QString(), QStringLiteral("sorted")}) {
            Folder f;
            f.add(QStringLiteral("a.jpg"));
            FaultyFileSystem fs;
            fs.failRename.insert(f.file(QStringLiteral("a.jpg")), code::PermissionDenied);
            int renames = 0;
            fs.before = [&](const QString& op, const QString&) {
                if (op == QLatin1String("rename")) ++renames;
            };
            RenameRequest request = defaultRequest();
            request.chkMove = CheckValue::On;
            request.moveFolder = folder;
            RecordingProgress progress;
            ScriptedMessageBox box;
            progress.finish(runRename(request, f.table, progress, box, fs), CommandButton::Rename,
                            box);
            QCOMPARE(renames, 0);
            QCOMPARE(box.texts, QStringList{question(f.file(QStringLiteral("a.jpg")),
                                                     QStringLiteral("76パスが見つかりません。"))});
            QCOMPARE(f.names(), QStringList{QStringLiteral("a.jpg")});
        }
    }

    void moveFolderOnAnotherFileSystem() {
        struct stat shm, here;
        QTemporaryDir probe;
        if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(probe.path()), &here) != 0 ||
            shm.st_dev == here.st_dev)
            QSKIP("/dev/shm is not another file system here");
        QTemporaryDir other(QStringLiteral("/dev/shm/quillo-rename-XXXXXX"));
        QVERIFY(other.isValid());
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        RenameRequest request = defaultRequest();
        request.chkMove = CheckValue::On;
        request.moveFolder = other.path();
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(box.texts, QStringList{question(
                                f.file(QStringLiteral("a.jpg")),
                                QStringLiteral("74ドライブ名が異なるため名前を変更できません。"))});
        QVERIFY(f.holds(QStringLiteral("a.jpg"), QStringLiteral("a.jpg")));
        QVERIFY(filesIn(other.path()).isEmpty());
    }

    void otherFailureShowsCodeAndDescription() {
        Folder f;
        f.add(QStringLiteral("a.jpg"));
        FaultyFileSystem fs;
        fs.failRename.insert(f.file(QStringLiteral("a.jpg")), code::PermissionDenied);
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runRename(defaultRequest(), f.table, progress, box, fs),
                        CommandButton::Rename, box);
        QCOMPARE(box.texts, QStringList{question(f.file(QStringLiteral("a.jpg")),
                                                 QStringLiteral("70書き込みできません。"))});
        QVERIFY(f.holds(QStringLiteral("a.jpg"), QStringLiteral("a.jpg")));
    }

    void newNameNeverLeavesItsFolder() {
        // Texts from a hand-edited settings file may hold a separator; such a
        // name would move the file into another folder.
        struct Case {
            QString name, number, extension;
        };
        const QList<Case> cases = {
            {QStringLiteral("sub/x"), QStringLiteral("00007"), QStringLiteral(".JPG")},
            {QStringLiteral("../GAZOU"), QStringLiteral("00007"), QStringLiteral(".JPG")},
            {QStringLiteral("GAZOU"), QStringLiteral("0/007"), QStringLiteral(".JPG")},
            {QStringLiteral("GAZOU"), QStringLiteral("00007"), QStringLiteral("/.JPG")},
            {QStringLiteral("GA") + QChar(u'\0') + QStringLiteral("ZOU"), QStringLiteral("00007"),
             QStringLiteral(".JPG")},
            {QString(), QString(), QString()},
        };
        for (const Case& c : cases) {
            Folder f;
            makeDir(f.file(QStringLiteral("sub")));
            f.add(QStringLiteral("a.jpg"));
            RenameRequest request = defaultRequest();
            request.name = c.name;
            request.number = c.number;
            request.extension = c.extension;
            RecordingProgress progress;
            ScriptedMessageBox box;
            progress.finish(runRename(request, f.table, progress, box, systemFileSystem()),
                            CommandButton::Rename, box);
            QCOMPARE(box.texts,
                     QStringList{question(f.file(QStringLiteral("a.jpg")),
                                          QStringLiteral("52ファイル名または番号が不正です。"))});
            QCOMPARE(f.names(), QStringList{QStringLiteral("a.jpg")});
            QVERIFY(filesIn(f.file(QStringLiteral("sub"))).isEmpty());
            QVERIFY(filesIn(f.tmp.path()).isEmpty());
        }
    }

    void onlyReferences() {
        Folder f;
        f.addReference(QStringLiteral("a.jpg"));
        f.addReference(QStringLiteral("b.jpg"));
        RecordingProgress progress;
        ScriptedMessageBox box;

        progress.finish(runRename(defaultRequest(), f.table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);

        QCOMPARE(f.names(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
        QVERIFY(progress.events.filter(QStringLiteral("number:")).isEmpty());
        QCOMPARE(progress.blinks, 2);
        QCOMPARE(progress.events.filter(QStringLiteral("count:")).last(),
                 QStringLiteral("count:(2/2)"));
        QCOMPARE(progress.saves, 1);
        QVERIFY(endsWith(progress.events, completed(0)));
    }

    void emptyTableDoesNothing() {
        FileTable table;
        RecordingProgress progress;
        ScriptedMessageBox box;
        progress.finish(runRename(defaultRequest(), table, progress, box, systemFileSystem()),
                        CommandButton::Rename, box);
        QCOMPARE(progress.events, QStringList{QStringLiteral("enabled:3=1")});
        QCOMPARE(progress.blinks, 0);
        QVERIFY(box.texts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstRenamePass)
#include "tst_renamepass.moc"
