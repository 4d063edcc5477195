// The duplicate removal command: which files go, the questions, the messages.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "core/failure.h"
#include "core/paths.h"
#include "dedup/duplicatepass.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "journal/runjournal.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"
#include "trash/recyclerecord.h"
#include "trash/trashcan.h"
#include "undo/undocommand.h"

using namespace quillo;
using test::exists;
using test::writeFile;

namespace {

const QString kSorting = QStringLiteral("message:並び替えています、しばらくお待ち下さい");
const QString kAnalysing = QStringLiteral("message:解析しています、しばらくお待ち下さい");
// A question as the user sees it: the file named as this system writes paths.
QString asked(const QString& head) {
    return nativePath(head) + QStringLiteral("\r処理を続けますか？");
}
const FileKind kRefer = FileKind::Refer;
const FileKind kTarget = FileKind::Target;

// A table built over files written into a temporary folder.
struct Run {
    QTemporaryDir dir;
    FileTable table;
    DedupOptions options;
    qint32 dupCount = -1;
    test::RecordingProgress progress;
    test::ScriptedMessageBox box;

    QString folder(const QString& sub) const {
        return dir.path() + QLatin1Char('/') + sub + QLatin1Char('/');
    }
    // Appends the entry of an existing file as a collection records it.
    void append(const QString& dir, const QString& name, qint64 size, FileKind kind) {
        const Result<FileInfo> info = systemFileSystem().info(dir + name);
        table.append(FileEntry{dir, name, size, kind, info ? info->id() : FileId{}});
    }
    // Writes the file and appends its entry with its size.
    void add(const QString& sub, const QString& name, const QByteArray& bytes, FileKind kind) {
        writeFile(folder(sub) + name, bytes);
        append(folder(sub), name, bytes.size(), kind);
    }
    // Targets t/a.JPG, t/b.JPG … of the same bytes, one per name.
    void addSame(std::initializer_list<const char*> names) {
        for (const char* name : names)
            add(QStringLiteral("t"), QString::fromLatin1(name), "pic", FileKind::Target);
    }
    void go(FileSystem& fs = systemFileSystem(), RemovalTools tools = {}) {
        progress.finish(runDuplicateRemoval(table, options, dupCount, progress, box, fs, tools),
                        CommandButton::Delete, box);
    }
};

}  // namespace

Q_DECLARE_METATYPE(quillo::test::RecycleBinOf)

class TstDuplicatePass : public QObject {
    Q_OBJECT
  private slots:
    void fewerThanTwoEntriesDoNothing_data();
    void fewerThanTwoEntriesDoNothing();
    void noDuplicatesAndEmptyFiles();
    void targetsABCInBothModes_data();
    void targetsABCInBothModes();
    void withoutUsableTrashAskedOnce_data();
    void withoutUsableTrashAskedOnce();
    void folderRenamedMidRunStillHasATrash();
    void recycleBinTakesADuplicateAndUndoBringsItBack_data();
    void recycleBinTakesADuplicateAndUndoBringsItBack();
    void referenceBeatsTargetAndReferencesStay();
    void moveOntoExistingNameAsksAndIsCountedAsFailed();
    void missingFileQuestionNamesTheMissingFile_data();
    void missingFileQuestionNamesTheMissingFile();
    void answeringNoStopsWithoutSaving();
    void stopKeepsWhatWasRemoved();
    void otherFailuresShowCodeAndDescription_data();
    void otherFailuresShowCodeAndDescription();
    void hardLinkPairAndGrownFileSurvive();
};

void TstDuplicatePass::fewerThanTwoEntriesDoNothing_data() {
    QTest::addColumn<int>("n");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
}

void TstDuplicatePass::fewerThanTwoEntriesDoNothing() {
    QFETCH(int, n);
    Run r;
    if (n == 1) r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "x", kTarget);
    r.dupCount = 7;
    r.go();
    QCOMPARE(r.progress.events, QStringList{QStringLiteral("enabled:2=1")});
    QCOMPARE(r.progress.blinks, 0);
    QCOMPARE(r.dupCount, 7);
    QCOMPARE(r.table.FileCount(), n);
}

void TstDuplicatePass::noDuplicatesAndEmptyFiles() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "ccc", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "a", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "bb", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("d.JPG"), "ddd", kTarget);
    r.go();
    QCOMPARE(r.dupCount, 0);
    // Sorted sizes 1, 2, 3, 3: the progress after each outer step.
    const QStringList expected{kSorting,
                               kAnalysing,
                               QStringLiteral("count:(1/4)"),
                               QStringLiteral("count:(2/4)"),
                               QStringLiteral("count:(3/4)"),
                               QStringLiteral("save"),
                               QStringLiteral("clear"),
                               QStringLiteral("black"),
                               QStringLiteral("message:重複ファイルは有りませんでした"),
                               QStringLiteral("enabled:2=1")};
    QCOMPARE(r.progress.events, expected);
    QVERIFY(r.progress.blinks > 0);
    QVERIFY(r.box.texts.isEmpty());

    Run e;
    e.add(QStringLiteral("t"), QStringLiteral("1.JPG"), {}, kTarget);
    e.add(QStringLiteral("t"), QStringLiteral("2.JPG"), {}, kTarget);
    e.go();
    QCOMPARE(e.dupCount, 1);
    QVERIFY(exists(e.folder(QStringLiteral("t")) + QStringLiteral("1.JPG")));
    QVERIFY(!exists(e.folder(QStringLiteral("t")) + QStringLiteral("2.JPG")));
    QCOMPARE(e.progress.lastMessage, QStringLiteral("1件、削除しました"));
}

void TstDuplicatePass::targetsABCInBothModes_data() {
    QTest::addColumn<CheckValue>("chk");
    QTest::addColumn<QString>("message");
    QTest::newRow("delete") << CheckValue::Off << QStringLiteral("2件、削除しました");
    QTest::newRow("move") << CheckValue::On << QStringLiteral("2件、移動しました");
    // The greyed value deletes, so it is reported as deleting.
    QTest::newRow("greyed") << CheckValue::Grey << QStringLiteral("2件、削除しました");
}

void TstDuplicatePass::targetsABCInBothModes() {
    QFETCH(CheckValue, chk);
    QFETCH(QString, message);
    Run r;
    r.options = {chk, r.dir.path() + QStringLiteral("/del")};
    test::makeDir(r.options.deleteFolder);
    r.add(QStringLiteral("t"), QStringLiteral("C.JPG"), "same", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("A.JPG"), "same", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("B.JPG"), "same", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("X.JPG"), "diff", kTarget);
    r.go();
    const QString t = r.folder(QStringLiteral("t"));
    QCOMPARE(r.dupCount, 2);
    QVERIFY(exists(t + QStringLiteral("A.JPG")));
    QVERIFY(exists(t + QStringLiteral("X.JPG")));
    QVERIFY(!exists(t + QStringLiteral("B.JPG")) && !exists(t + QStringLiteral("C.JPG")));
    const bool moved = exists(r.options.deleteFolder + QStringLiteral("/B.JPG")) &&
                       exists(r.options.deleteFolder + QStringLiteral("/C.JPG"));
    QCOMPARE(moved, chk == CheckValue::On);
    QCOMPARE(r.progress.lastMessage, message);
    QCOMPARE(r.progress.saves, 1);
}

void TstDuplicatePass::withoutUsableTrashAskedOnce_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("message");
    QTest::newRow("yes: deleted for good")
        << Answer::Yes << QStringLiteral("2件、完全に削除しました");
    QTest::newRow("no: kept") << Answer::No
                              << QStringLiteral(
                                     "0件、ごみ箱に移しました（2件はごみ箱に移せませんでした）");
}

// A trash whose files/ folder is a link is no trash: one question for the run.
// Where the system has no trash at all, the same question comes.
void TstDuplicatePass::withoutUsableTrashAskedOnce() {
    QFETCH(Answer, answer);
    QFETCH(QString, message);
    Run r;
    r.addSame({"a.JPG", "b.JPG", "c.JPG"});
    const QString data = r.dir.path() + QStringLiteral("/data");
    test::makeDir(data + QStringLiteral("/Trash/info"));
    test::makeDir(r.dir.path() + QStringLiteral("/elsewhere"));
    if (test::trashAvailable())
        QUILLO_SYMLINK_OR_SKIP(r.dir.path() + QStringLiteral("/elsewhere"),
                               data + QStringLiteral("/Trash/files"));
    TrashCan trash(systemFileSystem(), TrashHome{data});
    r.box.script = {answer};
    r.go(systemFileSystem(), {&trash, nullptr, {}});
    const QString t = r.folder(QStringLiteral("t"));
    QCOMPARE(
        r.box.texts,
        QStringList{t + QStringLiteral("b.JPG\rこのファイルのあるドライブにはごみ箱がありません"
                                       "\rごみ箱に移せないファイルを完全に削除しますか？")});
    QCOMPARE(exists(t + QStringLiteral("b.JPG")), answer == Answer::No);
    QCOMPARE(exists(t + QStringLiteral("c.JPG")), answer == Answer::No);
    QVERIFY(exists(t + QStringLiteral("a.JPG")));
    QVERIFY(QDir(r.dir.path() + QStringLiteral("/elsewhere")).isEmpty());
    QCOMPARE(r.progress.lastMessage, message);
}

// On a drive of its own, the folder of the targets is renamed just before
// the first move: the file held goes to that drive's trash all the same, the
// others are one question each and counted, and the drive is never said to
// have no trash.
void TstDuplicatePass::folderRenamedMidRunStillHasATrash() {
    const test::OwnDrive drive;
    if (!drive.mounted()) QSKIP("cannot mount a drive of its own here");
    const QString top = drive.top();
    Run r;
    const QString t = top + QStringLiteral("/t/");
    for (const char* name : {"a.JPG", "b.JPG", "c.JPG", "d.JPG"}) {
        writeFile(t + QString::fromLatin1(name), "pic");
        r.append(t, QString::fromLatin1(name), 3, kTarget);
    }
    test::FaultyFileSystem fs;
    bool renamed = false;
    fs.before = [&](const QString& op, const QString&) {
        if (op != u"rename" || renamed) return;
        renamed = true;
        QVERIFY(QDir().rename(t, top + QStringLiteral("/moved")));
    };
    TrashCan trash(fs, TrashHome{r.dir.path() + QStringLiteral("/data")});
    r.go(fs, {&trash, nullptr, {}});
    QVERIFY(renamed);
    // The drive's trash is named for the user, who owns what the test made.
    const QString trashed =
        top + QStringLiteral("/.Trash-") + QString::number(QFileInfo(top).ownerId());
    QVERIFY(exists(trashed + QStringLiteral("/files/b.JPG")));
    QVERIFY(exists(trashed + QStringLiteral("/info/b.JPG.trashinfo")));
    QCOMPARE(r.box.texts,
             (QStringList{asked(t + QStringLiteral("c.JPG\r76パスが見つかりません。")),
                          asked(t + QStringLiteral("d.JPG\r76パスが見つかりません。"))}));
    QCOMPARE(r.progress.lastMessage,
             QStringLiteral("1件、ごみ箱に移しました（2件はごみ箱に移せませんでした）"));
}

void TstDuplicatePass::recycleBinTakesADuplicateAndUndoBringsItBack_data() {
    QTest::addColumn<test::RecycleBinOf>("whose");
    QTest::newRow("the user's") << test::RecycleBinOf::User;
    QTest::newRow("another user's") << test::RecycleBinOf::AnotherUser;
    QTest::newRow("none, on a removable drive") << test::RecycleBinOf::NoneOnRemovable;
}

// On a Windows drive with a Recycle Bin a duplicate is renamed into the
// user's bin as $R… beside its record $I…; undo puts it back and removes the
// record. A bin that another user owns is no trash, and a removable drive
// gets none made: the user is asked.
void TstDuplicatePass::recycleBinTakesADuplicateAndUndoBringsItBack() {
    QFETCH(test::RecycleBinOf, whose);
    const QString drive = test::recycleBinDrive(whose);
    if (drive.isEmpty()) QSKIP("no drive with such a Recycle Bin here");
    const QTemporaryDir on(drive + QStringLiteral("/dup-XXXXXX"));
    QVERIFY(on.isValid());
    Run r;
    const QString t = on.path() + QStringLiteral("/写真/");
    for (const QString& name : {QStringLiteral("a.JPG"), QStringLiteral("写真 №1.JPG")}) {
        writeFile(t + name, "pic");
        r.append(t, name, 3, kTarget);
    }
    const JournalFolder journals(systemFileSystem(), r.dir.path() + QStringLiteral("/journal"));
    TrashCan trash(systemFileSystem(), TrashHome{});
    {
        RunJournal journal(journals, JournalKind::Remove);
        r.box.script = {Answer::No};
        r.go(systemFileSystem(), {&trash, &journal, {}});
    }
    const QString original = t + QStringLiteral("写真 №1.JPG");
    if (whose == test::RecycleBinOf::NoneOnRemovable) {
        QCOMPARE(r.box.texts.size(), 1);
        QVERIFY(r.box.texts.first().contains(QStringLiteral("ごみ箱がありません")));
        QVERIFY(exists(original));
        QVERIFY(!exists(drive + QStringLiteral("/$Recycle.Bin")));
        return;
    }
    const QStringList bins =
        QDir(drive + QStringLiteral("/$Recycle.Bin")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(bins.size(), 1);
    const QDir bin(drive + QStringLiteral("/$Recycle.Bin/") + bins.first());
    if (whose == test::RecycleBinOf::AnotherUser) {
        QCOMPARE(r.box.texts.size(), 1);
        QVERIFY(r.box.texts.first().contains(QStringLiteral("ごみ箱がありません")));
        QVERIFY(exists(original));
        QVERIFY(bin.isEmpty());
        return;
    }
    QCOMPARE(r.progress.lastMessage, QStringLiteral("1件、ごみ箱に移しました"));
    QVERIFY(!exists(original));
    const QStringList files = bin.entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 2);
    const QRegularExpression named(QStringLiteral("^\\$I([A-Z0-9]{6})\\.JPG$"));
    const QRegularExpressionMatch id = named.match(files.first());
    QVERIFY2(id.hasMatch(), qPrintable(files.join(u' ')));
    QCOMPARE(files.last(), QStringLiteral("$R") + id.captured(1) + QStringLiteral(".JPG"));
    QCOMPARE(test::readFile(bin.filePath(files.last())), QByteArray("pic"));
    const std::optional<RecycleRecord> record =
        parseRecycleRecord(test::readFile(bin.filePath(files.first())));
    QVERIFY(record);
    QCOMPARE(record->path, QDir::toNativeSeparators(original));
    QCOMPARE(record->size, 3);
    QVERIFY(qAbs(record->removed.secsTo(QDateTime::currentDateTimeUtc())) < 600);

    test::RecordingProgress undone;
    test::ScriptedMessageBox yes;
    undone.finish(runUndo(journals, trash, undone, yes), CommandButton::Undo, yes);
    QCOMPARE(undone.lastMessage, QStringLiteral("1件、元に戻しました"));
    QCOMPARE(test::readFile(original), QByteArray("pic"));
    QVERIFY(bin.isEmpty());
}

void TstDuplicatePass::referenceBeatsTargetAndReferencesStay() {
    Run r;
    r.add(QStringLiteral("zz参照"), QStringLiteral("zz.JPG"), "pic", kRefer);
    r.add(QStringLiteral("yy参照"), QStringLiteral("yy.JPG"), "pic", kRefer);
    r.add(QStringLiteral("aa"), QStringLiteral("aa.JPG"), "pic", kTarget);
    r.go();
    QCOMPARE(r.dupCount, 1);
    QVERIFY(exists(r.folder(QStringLiteral("zz参照")) + QStringLiteral("zz.JPG")));
    QVERIFY(exists(r.folder(QStringLiteral("yy参照")) + QStringLiteral("yy.JPG")));
    QVERIFY(!exists(r.folder(QStringLiteral("aa")) + QStringLiteral("aa.JPG")));

    Run refs;
    refs.add(QStringLiteral("r"), QStringLiteral("1.JPG"), "pic", kRefer);
    refs.add(QStringLiteral("r"), QStringLiteral("2.JPG"), "pic", kRefer);
    test::FaultyFileSystem fs;
    refs.go(fs);
    QCOMPARE(refs.dupCount, 0);
    QCOMPARE(fs.opens.load(), 0);  // never even compared
    QVERIFY(exists(refs.folder(QStringLiteral("r")) + QStringLiteral("2.JPG")));
}

void TstDuplicatePass::moveOntoExistingNameAsksAndIsCountedAsFailed() {
    Run r;
    r.options = {CheckValue::On, r.dir.path() + QStringLiteral("/del")};
    writeFile(r.options.deleteFolder + QStringLiteral("/b.JPG"), "old");
    r.addSame({"a.JPG", "b.JPG", "c.JPG"});
    r.go();
    const QString t = r.folder(QStringLiteral("t"));
    QCOMPARE(r.box.texts, QStringList{asked(t + QStringLiteral("b.JPG ファイルが重複しています"))});
    QCOMPARE(r.box.buttons, QList<Buttons>{Buttons::YesNo});
    QVERIFY(exists(t + QStringLiteral("b.JPG")));
    QCOMPARE(test::readFile(r.options.deleteFolder + QStringLiteral("/b.JPG")), QByteArray("old"));
    QVERIFY(!exists(t + QStringLiteral("c.JPG")));
    // Only the move that happened is counted; the one that could not be done
    // is reported. Entry b stays and is compared again as a first file
    // (against c, already gone).
    QCOMPARE(r.dupCount, 1);
    QCOMPARE(r.progress.lastMessage,
             QStringLiteral("1件、移動しました（1件は移動できませんでした）"));
    QCOMPARE(r.progress.saves, 1);
}

void TstDuplicatePass::missingFileQuestionNamesTheMissingFile_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("kept");
    // Entry j missing: (a, b) asks; (a, c) removes c.
    QTest::newRow("second") << QStringLiteral("b.JPG") << 1 << QStringLiteral("a.JPG");
    // Entry i missing: (a, b) asks, and a is not compared again; (b, c)
    // removes c.
    QTest::newRow("first") << QStringLiteral("a.JPG") << 1 << QStringLiteral("b.JPG");
}

void TstDuplicatePass::missingFileQuestionNamesTheMissingFile() {
    QFETCH(QString, missing);
    QFETCH(int, questions);
    QFETCH(QString, kept);
    Run r;
    r.addSame({"a.JPG", "b.JPG", "c.JPG"});
    const QString t = r.folder(QStringLiteral("t"));
    QVERIFY(QFile::remove(t + missing));
    r.go();
    const QString question = asked(t + missing + QStringLiteral(" が見つかりません"));
    QCOMPARE(r.box.texts, QStringList(questions, question));
    QVERIFY(exists(t + kept));
    QVERIFY(!exists(t + QStringLiteral("c.JPG")));
    QCOMPARE(r.dupCount, 1);
    // A file asked about is counted, found identical or not.
    QCOMPARE(r.progress.lastMessage,
             QStringLiteral("1件、削除しました（1件は削除できませんでした）"));
}

void TstDuplicatePass::answeringNoStopsWithoutSaving() {
    Run r;
    r.addSame({"a.JPG", "b.JPG", "c.JPG"});
    const QString t = r.folder(QStringLiteral("t"));
    QVERIFY(QFile::remove(t + QStringLiteral("b.JPG")));
    r.box.script = {Answer::No};
    r.go();
    QCOMPARE(r.box.texts.size(), 1);
    QVERIFY(exists(t + QStringLiteral("c.JPG")));  // the pass ended before (a, c)
    QCOMPARE(r.progress.saves, 0);
    // Nothing changed: the list stays as it was.
    const QStringList expected{
        kSorting, kAnalysing, QStringLiteral("black"),
        QStringLiteral("message:強制終了しました（0件、削除しました、1件は削除できませんでした）"),
        QStringLiteral("enabled:2=1")};
    QCOMPARE(r.progress.events, expected);
}

void TstDuplicatePass::stopKeepsWhatWasRemoved() {
    Run r;
    r.addSame({"a.JPG", "b.JPG"});
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "other", kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("d.JPG"), "other", kTarget);
    const QString t = r.folder(QStringLiteral("t"));
    // The user asks to stop while b is being removed: b goes, nothing after it.
    test::FaultyFileSystem fs;
    fs.before = [&](const QString& op, const QString& path) {
        if (op == QLatin1String("remove") && path.endsWith(QLatin1String("b.JPG")))
            r.progress.stopAfter = r.progress.stopChecks;
    };
    r.go(fs);
    QVERIFY(!exists(t + QStringLiteral("b.JPG")));
    QVERIFY(exists(t + QStringLiteral("d.JPG")));
    QCOMPARE(r.progress.saves, 0);
    QCOMPARE(r.progress.events.mid(r.progress.events.size() - 4),
             (QStringList{QStringLiteral("clear"), QStringLiteral("black"),
                          QStringLiteral("message:中止しました（1件、削除しました）"),
                          QStringLiteral("enabled:2=1")}));
}

void TstDuplicatePass::otherFailuresShowCodeAndDescription_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("message");
    QTest::newRow("removal refused")
        << "remove" << QStringLiteral("70書き込みできません。")
        << QStringLiteral("0件、削除しました（1件は削除できませんでした）");
    QTest::newRow("open refused") << "open" << QStringLiteral("70読み込みできません。")
                                  << QStringLiteral(
                                         "0件、削除しました（1件は削除できませんでした）");
    QTest::newRow("read refused") << "read" << QStringLiteral("70読み込みできません。")
                                  << QStringLiteral(
                                         "0件、削除しました（1件は削除できませんでした）");
    // The journal cannot take the row: the question names the journal.
    QTest::newRow("journal folder a file")
        << "journal folder" << QStringLiteral("76パスが見つかりません。")
        << QStringLiteral("0件、削除しました（1件は削除できませんでした）");
    QTest::newRow("journal disk full")
        << "journal full" << QStringLiteral("61ディスクの空き容量が不足しています。")
        << QStringLiteral("0件、削除しました（1件は削除できませんでした）");
}

void TstDuplicatePass::otherFailuresShowCodeAndDescription() {
    QFETCH(QString, op);
    QFETCH(QString, detail);
    QFETCH(QString, message);
    Run r;
    r.addSame({"a.JPG", "b.JPG"});
    const QString b = r.folder(QStringLiteral("t")) + QStringLiteral("b.JPG");
    const QString journals = r.dir.path() + QStringLiteral("/journal");
    test::FaultyFileSystem fs;
    if (op == QLatin1String("journal folder")) writeFile(journals, "a file");
    if (op == QLatin1String("journal full")) fs.failRecord.insert(journals, code::DiskFull);
    if (!op.startsWith(QLatin1String("journal")))
        (op == QLatin1String("remove") ? fs.failRemove
         : op == QLatin1String("open") ? fs.failOpen
                                       : fs.failRead)
            .insert(b, code::PermissionDenied);
    RunJournal journal(JournalFolder(fs, journals), JournalKind::Remove);
    r.go(fs, {nullptr, &journal, {}});
    const QString named = op.startsWith(QLatin1String("journal")) ? journals : b;
    QCOMPARE(r.box.texts, QStringList{asked(named + QLatin1Char('\r') + detail)});
    QCOMPARE(r.dupCount, 0);
    QCOMPARE(r.progress.lastMessage, message);
    QVERIFY(exists(b));
}

void TstDuplicatePass::hardLinkPairAndGrownFileSurvive() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "only", kTarget);
    const QString t = r.folder(QStringLiteral("t"));
    QUILLO_SYMLINK_OR_SKIP(t + QStringLiteral("a.JPG"), t + QStringLiteral("sym.JPG"));
    QVERIFY(test::makeHardLink(t + QStringLiteral("a.JPG"), t + QStringLiteral("b.JPG")));
    r.append(t, QStringLiteral("b.JPG"), 4, kTarget);
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "onl", kTarget);
    writeFile(t + QStringLiteral("c.JPG"), "only");  // grew after collection
    r.add(QStringLiteral("t"), QStringLiteral("d.JPG"), "onlyX", kTarget);
    r.table.entries.back().size = 4;  // collected before it grew
    r.go();
    QCOMPARE(r.dupCount, 0);
    for (const char* name : {"a.JPG", "b.JPG", "c.JPG", "d.JPG"})
        QVERIFY2(exists(t + QLatin1String(name)), name);
    QCOMPARE(r.progress.lastMessage, QStringLiteral("重複ファイルは有りませんでした"));
}

QTEST_GUILESS_MAIN(TstDuplicatePass)
#include "tst_duplicatepass.moc"
