// The reference and extraction commands on temporary folders: overlap refusal,
// the order of what they show, counts and messages, and skipped entries.
#include <QTemporaryDir>
#include <QtTest>

#include "collect/collectcommand.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"

using namespace quillo;
using namespace quillo::test;

namespace {

const QString kOverlap = QStringLiteral("参照・抽出フォルダーが同一、又は親子です");

void makeFiles(const QString& folder, int n) {
    for (int i = 0; i < n; ++i) writeFile(folder + QStringLiteral("/画像%1.JPG").arg(i), "x");
}

CollectRequest request(bool reference, const QString& refer, const QString& select) {
    CollectRequest r;
    r.reference = reference;
    r.referFolder = refer;
    r.selectFolder = select;
    r.subfolderSwitch = 1;
    r.extension = QStringLiteral(".JPG");
    return r;
}

}  // namespace

class TstCollectCommand : public QObject {
    Q_OBJECT
  private slots:
    void overlappingFoldersAreRefused() {
        const QList<std::pair<QString, QString>> cases = {
            {QStringLiteral("/d/A"), QStringLiteral("/d/A")},    // equal
            {QStringLiteral("/d/A"), QStringLiteral("/d/A/B")},  // reference is the parent
            {QStringLiteral("/d/A/B"), QStringLiteral("/d/A")},  // reference is the child
            {QStringLiteral("/d/A"), QStringLiteral("/d/AB")},   // text prefix only
            {QStringLiteral("/d/写真2"), QStringLiteral("/d/写真")},
            {QString(), QStringLiteral("/d/A")},  // empty
            {QStringLiteral("/d/A"), QString()},
        };
        for (const auto& [refer, select] : cases) {
            for (const bool reference : {true, false}) {
                FileTable t;
                t.append(QStringLiteral("/x/"), QStringLiteral("a.jpg"), 1, kKindTarget);
                RecordingProgress progress;
                ScriptedMessageBox box;
                FaultyFileSystem fs;
                QStringList ops;
                fs.before = [&](const QString& op, const QString&) { ops << op; };
                runCollect(request(reference, refer, select), t, progress, box, fs);
                const QByteArray where = (refer + u' ' + select).toUtf8();
                QVERIFY2(box.texts == QStringList({kOverlap}), where.constData());
                QCOMPARE(box.buttons, QList<Buttons>({Buttons::Ok}));
                QVERIFY2(progress.events.isEmpty(), where.constData());
                QCOMPARE(t.FileCount, 1);
                QVERIFY(ops.isEmpty());
            }
        }
        // Siblings that are not prefixes of each other are fine.
        QTemporaryDir dir;
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        runCollect(
            request(false, dir.filePath(QStringLiteral("B")), dir.filePath(QStringLiteral("A"))), t,
            progress, box, systemFileSystem());
        QVERIFY(!box.texts.contains(kOverlap));
    }

    void extractThenRefer() {
        QTemporaryDir dir;
        const QString select = dir.filePath(QStringLiteral("抽出"));
        const QString refer = dir.filePath(QStringLiteral("参照"));
        makeFiles(select, 6);
        makeFiles(select + QStringLiteral("/下"), 4);
        makeFiles(refer, 3);
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;

        runCollect(request(false, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount, 10);
        QStringList expected = {QStringLiteral("enabled:1=0"),
                                QStringLiteral("message:抽出しています、しばらくお待ち下さい")};
        for (int i = 1; i <= 10; ++i) expected << QStringLiteral("count:(%1)").arg(i);
        expected << QStringLiteral("message:並び替えています、しばらくお待ち下さい")
                 << QStringLiteral("busy") << QStringLiteral("black")
                 << QStringLiteral("message:10件、抽出しました") << QStringLiteral("count:(10)");
        QCOMPARE(progress.events, expected);
        QVERIFY(!progress.enabled[int(CommandButton::Select)]);  // stays off until cleared
        QVERIFY(progress.enabled[int(CommandButton::Refer)]);
        QVERIFY(box.texts.isEmpty());
        for (qint32 i = 1; i <= 10; ++i) QCOMPARE(t.FileKind[size_t(i)], kKindTarget);
        QVERIFY(progress.blinks > 0);

        progress.events.clear();
        runCollect(request(true, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount, 13);
        QCOMPARE(progress.lastMessage, QStringLiteral("3件、追加しました"));
        QCOMPARE(progress.lastCount, QStringLiteral("(13)"));
        QCOMPARE(progress.events.first(), QStringLiteral("enabled:0=0"));
        QVERIFY(!progress.enabled[int(CommandButton::Refer)]);
        // Both sets are sorted together.
        for (qint32 i = 1; i < t.FileCount; ++i) {
            const size_t a = size_t(i), b = size_t(i) + 1;
            QVERIFY(t.FileDir[a] < t.FileDir[b] ||
                    (t.FileDir[a] == t.FileDir[b] && t.FileName[a] <= t.FileName[b]));
        }
        int refs = 0;
        for (qint32 i = 1; i <= t.FileCount; ++i) refs += t.FileKind[size_t(i)] == kKindRefer;
        QCOMPARE(refs, 3);
    }

    void nothingFound() {
        QTemporaryDir dir;
        const QString select = dir.filePath(QStringLiteral("s"));
        const QString refer = dir.filePath(QStringLiteral("r"));
        makeFiles(select, 10);
        writeFile(refer + QStringLiteral("/doc.txt"), "t");
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        runCollect(request(false, refer, select), t, progress, box, systemFileSystem());
        runCollect(request(true, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount, 10);
        QCOMPARE(progress.lastMessage, QStringLiteral("参照データは有りませんでした"));
        QCOMPARE(progress.lastCount, QStringLiteral("(10)"));
        QVERIFY(progress.enabled[int(CommandButton::Refer)]);
        QVERIFY(box.texts.isEmpty());

        // Into an empty table the count label is emptied.
        FileTable empty;
        RecordingProgress p2;
        makeDir(dir.filePath(QStringLiteral("空")));
        runCollect(request(false, refer, dir.filePath(QStringLiteral("空"))), empty, p2, box,
                   systemFileSystem());
        QCOMPARE(p2.lastMessage, QStringLiteral("抽出データは有りませんでした"));
        QCOMPARE(p2.events.last(), QStringLiteral("count:"));
        QVERIFY(box.texts.isEmpty());
        QVERIFY(p2.enabled[int(CommandButton::Select)]);
    }

    void countLabelWithSeparator() {
        QTemporaryDir dir;
        const QString select = dir.filePath(QStringLiteral("s"));
        makeFiles(select, 1234);
        FileTable t;
        RecordingProgress progress;
        progress.recordCounts = false;
        ScriptedMessageBox box;
        runCollect(request(false, dir.filePath(QStringLiteral("r")), select), t, progress, box,
                   systemFileSystem());
        QCOMPARE(progress.lastMessage, QStringLiteral("1234件、抽出しました"));
        QCOMPARE(progress.lastCount, QStringLiteral("(1,234)"));
    }

    void skippedEntriesAreToldAfterTheResult() {
        QTemporaryDir dir;
        const QString select = dir.filePath(QStringLiteral("s"));
        makeFiles(select, 2);
        makeFiles(select + QStringLiteral("/閉"), 2);
        writeFile(select + QStringLiteral("/消えた.jpg"), "x");
        FaultyFileSystem fs;
        fs.failList.insert(select + QStringLiteral("/閉"), code::PermissionDenied);
        fs.failInfo.insert(select + QStringLiteral("/消えた.jpg"), code::FileNotFound);
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        runCollect(request(false, dir.filePath(QStringLiteral("r")), select), t, progress, box, fs);
        QCOMPARE(t.FileCount, 2);
        QCOMPARE(progress.lastMessage, QStringLiteral("2件、抽出しました"));
        QCOMPARE(
            box.texts,
            QStringList({QStringLiteral("読み込めなかったファイル・フォルダーが2件有りました")}));
        QCOMPARE(box.buttons, QList<Buttons>({Buttons::Ok}));

        // A folder that does not exist: nothing found, and told so.
        FileTable t2;
        RecordingProgress p2;
        ScriptedMessageBox box2;
        runCollect(request(true, dir.filePath(QStringLiteral("無い")), select), t2, p2, box2, fs);
        QCOMPARE(p2.lastMessage, QStringLiteral("参照データは有りませんでした"));
        QCOMPARE(
            box2.texts,
            QStringList({QStringLiteral("読み込めなかったファイル・フォルダーが1件有りました")}));
    }
};

QTEST_GUILESS_MAIN(TstCollectCommand)
#include "tst_collectcommand.moc"
