// The duplicate removal command: which files go, the questions, the messages.
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "dedup/duplicatepass.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "platform/failure.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"

using namespace quillo;
using test::exists;
using test::writeFile;

namespace {

const QString kSorting = QStringLiteral("message:並び替えています、しばらくお待ち下さい");
const QString kAnalysing = QStringLiteral("message:解析しています、しばらくお待ち下さい");
const QString kGoOn = QStringLiteral("\r処理を続けますか？");

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
    // Writes the file and appends its entry with its size.
    void add(const QString& sub, const QString& name, const QByteArray& bytes,
             const QString& kind) {
        writeFile(folder(sub) + name, bytes);
        table.append(folder(sub), name, bytes.size(), kind);
    }
    void go(FileSystem& fs = systemFileSystem()) {
        runDuplicateRemoval(table, options, dupCount, progress, box, fs);
    }
};

}  // namespace

class TestDuplicatePass : public QObject {
    Q_OBJECT
  private slots:
    void fewerThanTwoEntriesDoNothing();
    void noDuplicatesAndEmptyFiles();
    void targetsABCInBothModes();
    void referenceBeatsTargetAndReferencesStay();
    void moveOntoExistingNameAsksAndIsNotCounted();
    void missingFileQuestionNamesEntryI();
    void answeringNoStopsWithoutSaving();
    void otherFailuresShowCodeAndDescription();
    void hardLinkPairAndGrownFileSurvive();
};

void TestDuplicatePass::fewerThanTwoEntriesDoNothing() {
    for (int n = 0; n < 2; ++n) {
        Run r;
        if (n == 1) r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "x", kKindTarget);
        r.dupCount = 7;
        r.go();
        QCOMPARE(r.progress.events, QStringList());
        QCOMPARE(r.progress.blinks, 0);
        QCOMPARE(r.dupCount, 7);
        QCOMPARE(r.table.FileCount, n);
    }
}

void TestDuplicatePass::noDuplicatesAndEmptyFiles() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "ccc", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "a", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "bb", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("d.JPG"), "ddd", kKindTarget);
    r.go();
    QCOMPARE(r.dupCount, 0);
    // Sorted sizes 1, 2, 3, 3: the progress after each outer step.
    const QStringList expected{QStringLiteral("enabled:2=0"),
                               kSorting,
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
    // Sort of 4: gaps 2, 1 give 2 + 3 steps; pair loop: 1 + 1 + 1 steps.
    QCOMPARE(r.progress.blinks, 5 + 3);
    QVERIFY(r.box.texts.isEmpty());

    Run e;
    e.add(QStringLiteral("t"), QStringLiteral("1.JPG"), {}, kKindTarget);
    e.add(QStringLiteral("t"), QStringLiteral("2.JPG"), {}, kKindTarget);
    e.go();
    QCOMPARE(e.dupCount, 1);
    QVERIFY(exists(e.folder(QStringLiteral("t")) + QStringLiteral("1.JPG")));
    QVERIFY(!exists(e.folder(QStringLiteral("t")) + QStringLiteral("2.JPG")));
    QCOMPARE(e.progress.lastMessage, QStringLiteral("1件、削除しました"));
}

void TestDuplicatePass::targetsABCInBothModes() {
    for (int chk : {0, 1, 2}) {
        Run r;
        r.options = {chk, r.dir.path() + QStringLiteral("/del")};
        test::makeDir(r.options.deleteFolder);
        r.add(QStringLiteral("t"), QStringLiteral("C.JPG"), "same", kKindTarget);
        r.add(QStringLiteral("t"), QStringLiteral("A.JPG"), "same", kKindTarget);
        r.add(QStringLiteral("t"), QStringLiteral("B.JPG"), "same", kKindTarget);
        r.add(QStringLiteral("t"), QStringLiteral("X.JPG"), "diff", kKindTarget);
        r.go();
        const QString t = r.folder(QStringLiteral("t"));
        QCOMPARE(r.dupCount, 2);
        QVERIFY(exists(t + QStringLiteral("A.JPG")));
        QVERIFY(exists(t + QStringLiteral("X.JPG")));
        QVERIFY(!exists(t + QStringLiteral("B.JPG")) && !exists(t + QStringLiteral("C.JPG")));
        const bool moved = exists(r.options.deleteFolder + QStringLiteral("/B.JPG")) &&
                           exists(r.options.deleteFolder + QStringLiteral("/C.JPG"));
        QCOMPARE(moved, chk == 1);
        // The greyed value deletes, so it is reported as deleting.
        QCOMPARE(r.progress.lastMessage, chk == 1 ? QStringLiteral("2件、移動しました")
                                                  : QStringLiteral("2件、削除しました"));
        QCOMPARE(r.progress.saves, 1);
    }
}

void TestDuplicatePass::referenceBeatsTargetAndReferencesStay() {
    Run r;
    r.add(QStringLiteral("zz参照"), QStringLiteral("zz.JPG"), "pic", kKindRefer);
    r.add(QStringLiteral("yy参照"), QStringLiteral("yy.JPG"), "pic", kKindRefer);
    r.add(QStringLiteral("aa"), QStringLiteral("aa.JPG"), "pic", kKindTarget);
    r.go();
    QCOMPARE(r.dupCount, 1);
    QVERIFY(exists(r.folder(QStringLiteral("zz参照")) + QStringLiteral("zz.JPG")));
    QVERIFY(exists(r.folder(QStringLiteral("yy参照")) + QStringLiteral("yy.JPG")));
    QVERIFY(!exists(r.folder(QStringLiteral("aa")) + QStringLiteral("aa.JPG")));

    Run refs;
    refs.add(QStringLiteral("r"), QStringLiteral("1.JPG"), "pic", kKindRefer);
    refs.add(QStringLiteral("r"), QStringLiteral("2.JPG"), "pic", kKindRefer);
    test::FaultyFileSystem fs;
    refs.go(fs);
    QCOMPARE(refs.dupCount, 0);
    QCOMPARE(fs.opens, 0);  // never even compared
    QVERIFY(exists(refs.folder(QStringLiteral("r")) + QStringLiteral("2.JPG")));
}

void TestDuplicatePass::moveOntoExistingNameAsksAndIsNotCounted() {
    Run r;
    r.options = {1, r.dir.path() + QStringLiteral("/del")};
    writeFile(r.options.deleteFolder + QStringLiteral("/b.JPG"), "old");
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "pic", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "pic", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "pic", kKindTarget);
    r.go();
    const QString t = r.folder(QStringLiteral("t"));
    QCOMPARE(r.box.texts,
             QStringList{t + QStringLiteral("a.JPG ファイルが重複しています") + kGoOn});
    QCOMPARE(r.box.buttons, QList<Buttons>{Buttons::YesNo});
    QVERIFY(exists(t + QStringLiteral("b.JPG")));
    QCOMPARE(test::readFile(r.options.deleteFolder + QStringLiteral("/b.JPG")), QByteArray("old"));
    QVERIFY(!exists(t + QStringLiteral("c.JPG")));
    // Only the move that happened is counted. Entry b stays and is compared
    // again as a first file (against c, already gone).
    QCOMPARE(r.dupCount, 1);
    QCOMPARE(r.progress.lastMessage, QStringLiteral("1件、移動しました"));
}

void TestDuplicatePass::missingFileQuestionNamesEntryI() {
    // The missing file is entry j (b) in the first run and entry i (a) in the second.
    for (const QString& missing : {QStringLiteral("b.JPG"), QStringLiteral("a.JPG")}) {
        Run r;
        r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "pic", kKindTarget);
        r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "pic", kKindTarget);
        r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "pic", kKindTarget);
        const QString t = r.folder(QStringLiteral("t"));
        QVERIFY(QFile::remove(t + missing));
        r.go();
        const QString question = t + QStringLiteral("a.JPG が見つかりません") + kGoOn;
        if (missing == QLatin1String("b.JPG")) {
            // (a, b) asks; (a, c) removes c.
            QCOMPARE(r.box.texts, QStringList{question});
            QVERIFY(exists(t + QStringLiteral("a.JPG")));
        } else {
            // (a, b) and (a, c) ask; (b, c) removes c.
            QCOMPARE(r.box.texts, (QStringList{question, question}));
            QVERIFY(exists(t + QStringLiteral("b.JPG")));
        }
        QVERIFY(!exists(t + QStringLiteral("c.JPG")));
        QCOMPARE(r.dupCount, 1);
    }
}

void TestDuplicatePass::answeringNoStopsWithoutSaving() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "pic", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "pic", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "pic", kKindTarget);
    const QString t = r.folder(QStringLiteral("t"));
    QVERIFY(QFile::remove(t + QStringLiteral("b.JPG")));
    r.box.script = {Answer::No};
    r.go();
    QCOMPARE(r.box.texts.size(), 1);
    QVERIFY(exists(t + QStringLiteral("c.JPG")));  // the pass ended before (a, c)
    QCOMPARE(r.progress.saves, 0);
    const QStringList expected{QStringLiteral("enabled:2=0"),
                               kSorting,
                               kAnalysing,
                               QStringLiteral("clear"),
                               QStringLiteral("black"),
                               QStringLiteral("message:強制終了しました"),
                               QStringLiteral("enabled:2=1")};
    QCOMPARE(r.progress.events, expected);
}

void TestDuplicatePass::otherFailuresShowCodeAndDescription() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "pic", kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("b.JPG"), "pic", kKindTarget);
    test::FaultyFileSystem fs;
    fs.failRemove.insert(r.folder(QStringLiteral("t")) + QStringLiteral("b.JPG"),
                         code::PermissionDenied);
    r.go(fs);
    QCOMPARE(r.box.texts,
             QStringList{QStringLiteral("70") + describeFailure(code::PermissionDenied) + kGoOn});
    QCOMPARE(r.dupCount, 0);
    QCOMPARE(r.progress.lastMessage, QStringLiteral("重複ファイルは有りませんでした"));
    QVERIFY(exists(r.folder(QStringLiteral("t")) + QStringLiteral("b.JPG")));
}

void TestDuplicatePass::hardLinkPairAndGrownFileSurvive() {
    Run r;
    r.add(QStringLiteral("t"), QStringLiteral("a.JPG"), "only", kKindTarget);
    const QString t = r.folder(QStringLiteral("t"));
    QVERIFY(QFile::link(t + QStringLiteral("a.JPG"), t + QStringLiteral("sym.JPG")));
    QCOMPARE(
        ::link(qPrintable(t + QStringLiteral("a.JPG")), qPrintable(t + QStringLiteral("b.JPG"))),
        0);
    r.table.append(t, QStringLiteral("b.JPG"), 4, kKindTarget);
    r.add(QStringLiteral("t"), QStringLiteral("c.JPG"), "onl", kKindTarget);
    writeFile(t + QStringLiteral("c.JPG"), "only");  // grew after collection
    r.add(QStringLiteral("t"), QStringLiteral("d.JPG"), "onlyX", kKindTarget);
    r.table.FileSize.back() = 4;  // collected before it grew
    r.go();
    QCOMPARE(r.dupCount, 0);
    for (const char* name : {"a.JPG", "b.JPG", "c.JPG", "d.JPG"})
        QVERIFY2(exists(t + QLatin1String(name)), name);
    QCOMPARE(r.progress.lastMessage, QStringLiteral("重複ファイルは有りませんでした"));
}

QTEST_GUILESS_MAIN(TestDuplicatePass)
#include "tst_duplicatepass.moc"
