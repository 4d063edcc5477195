// The reference and extraction commands on temporary folders: overlap refusal,
// the order of what they show, counts and messages, and skipped entries.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "collect/collectcommand.h"
#include "dedup/duplicatepass.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "numbering/renamepass.h"
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
    r.subfolderSwitch = CheckValue::On;
    r.extension = QStringLiteral(".JPG");
    return r;
}

// Runs the command and applies its outcome as the window does.
void collect(const CollectRequest& r, FileTable& t, RecordingProgress& progress,
             ScriptedMessageBox& box, FileSystem& fs = systemFileSystem()) {
    progress.finish(runCollect(r, t, progress, box, fs),
                    r.reference ? CommandButton::Refer : CommandButton::Select, box);
}

// A bind mount for the length of a test, undone however the test ends.
struct BindMount {
    QString at;
    bool ok = false;
    BindMount(const QString& from, const QString& to) : at(to) {
        makeDir(to);
        ok = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("--bind"), from, to}) == 0;
    }
    ~BindMount() {
        if (ok) QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), at});
    }
};

enum class Pass { Delete, Move, Rename };

// Numbering from GAZOU00001.JPG, the files staying where they are.
RenameRequest numbering() {
    RenameRequest r;
    r.name = QStringLiteral("GAZOU");
    r.number = QStringLiteral("00001");
    r.DigitCount = 5;
    r.extension = QStringLiteral(".JPG");
    return r;
}

}  // namespace

class TstCollectCommand : public QObject {
    Q_OBJECT
  private slots:
    void aliasesNeverTouchReferences_data() {
        QTest::addColumn<QString>("alias");
        QTest::addColumn<bool>("referFirst");
        QTest::addColumn<int>("pass");
        for (const char* alias :
             {"link", "bind", "doubleSlash", "dotDot", "linkToParent", "bindInsideExtraction"})
            for (const bool referFirst : {true, false})
                for (const Pass pass : {Pass::Delete, Pass::Move, Pass::Rename})
                    QTest::addRow("%s/%s/%d", alias, referFirst ? "refer first" : "select first",
                                  int(pass))
                        << QString::fromLatin1(alias) << referFirst << int(pass);
    }

    // Whatever path reaches the reference folder, no reference file is removed,
    // moved or renamed; the overlap refusal sees through links and mounts.
    void aliasesNeverTouchReferences() {
        QFETCH(QString, alias);
        QFETCH(bool, referFirst);
        QFETCH(int, pass);
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString ref = root + QStringLiteral("/pics/参照");
        const QByteArray photo = QByteArray(5000, 'p') + "1";
        writeFile(ref + QStringLiteral("/A.JPG"), photo);
        writeFile(ref + QStringLiteral("/B.JPG"), photo);
        writeFile(root + QStringLiteral("/sel/C.JPG"), photo);
        writeFile(root + QStringLiteral("/sel/D.JPG"), "unique");
        makeDir(root + QStringLiteral("/del"));
        QString referText = ref, selectText = root + QStringLiteral("/alias");
        std::unique_ptr<BindMount> mount;
        bool refused = true;
        if (alias == QLatin1String("link")) {
            QUILLO_SYMLINK_OR_SKIP(ref, selectText);
        } else if (alias == QLatin1String("linkToParent")) {
            QUILLO_SYMLINK_OR_SKIP(root + QStringLiteral("/pics"), selectText);
        } else if (alias == QLatin1String("doubleSlash")) {
            referText = root + QStringLiteral("//pics/参照");
            selectText = ref;
        } else if (alias == QLatin1String("dotDot")) {
            selectText = ref + QStringLiteral("/../参照/.");
        } else if (alias == QLatin1String("bind")) {
            mount = std::make_unique<BindMount>(ref, selectText);
        } else {
            mount = std::make_unique<BindMount>(ref, root + QStringLiteral("/sel/内"));
            selectText = root + QStringLiteral("/sel");
            refused = false;
        }
        if (mount && !mount->ok) QSKIP("mount --bind is refused here");

        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        for (const bool reference : {referFirst, !referFirst}) {
            CollectRequest r = request(reference, referText, selectText);
            collect(r, t, progress, box);
        }
        QCOMPARE(box.texts.count(kOverlap), refused ? 2 : 0);
        const FaultyFileSystem fs;
        qint32 dupCount = 0;
        if (pass == int(Pass::Rename)) {
            progress.finish(runRename(numbering(), t, progress, box, systemFileSystem()),
                            CommandButton::Rename, box);
        } else {
            const DedupOptions options{pass == int(Pass::Move) ? CheckValue::On : CheckValue::Off,
                                       root + QStringLiteral("/del")};
            progress.finish(
                runDuplicateRemoval(t, options, dupCount, progress, box, systemFileSystem()),
                CommandButton::Delete, box);
        }
        QCOMPARE(QDir(ref).entryList(QDir::Files),
                 QStringList({QStringLiteral("A.JPG"), QStringLiteral("B.JPG")}));
        QCOMPARE(readFile(ref + QStringLiteral("/A.JPG")), photo);
        QCOMPARE(readFile(ref + QStringLiteral("/B.JPG")), photo);
        if (refused) return;
        // The real targets were handled: the copy of a reference went, D was numbered.
        if (pass == int(Pass::Rename)) {
            QCOMPARE(
                QDir(root + QStringLiteral("/sel")).entryList(QDir::Files),
                QStringList({QStringLiteral("GAZOU00001.JPG"), QStringLiteral("GAZOU00002.JPG")}));
        } else {
            QCOMPARE(dupCount, 1);
            QCOMPARE(QDir(root + QStringLiteral("/sel")).entryList(QDir::Files),
                     QStringList({QStringLiteral("D.JPG")}));
        }
    }

    void swappedFolderNeverReachesReferences_data() {
        QTest::addColumn<QString>("swapBefore");
        QTest::addColumn<int>("pass");
        for (const char* op : {"folder", "remove", "rename"})
            for (const Pass pass : {Pass::Delete, Pass::Move, Pass::Rename})
                QTest::newRow(
                    ("swap before " + QByteArray(op) + '/' + QByteArray::number(int(pass)))
                        .constData())
                    << QString::fromLatin1(op) << int(pass);
    }

    // Another program swaps a target folder for a link to the reference folder
    // between a pass's look and its act: no reference file is removed, moved or
    // renamed, whichever step the swap comes before.
    void swappedFolderNeverReachesReferences() {
        QFETCH(QString, swapBefore);
        QFETCH(int, pass);
        if (!symlinksWork()) QSKIP("the swap puts a symbolic link in the folder's place");
        QTemporaryDir dir;
        const QString ref = dir.filePath(QStringLiteral("参照"));
        const QString sub = dir.filePath(QStringLiteral("sel/sub"));
        const QByteArray photo = QByteArray(3000, 'p');
        for (const QString& name : {QStringLiteral("A.JPG"), QStringLiteral("B.JPG")}) {
            writeFile(ref + u'/' + name, photo + name.toUtf8());
            writeFile(sub + u'/' + name, photo + name.toUtf8());
        }
        makeDir(dir.filePath(QStringLiteral("del")));
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        collect(request(true, ref, dir.filePath(QStringLiteral("sel"))), t, progress, box);
        collect(request(false, ref, dir.filePath(QStringLiteral("sel"))), t, progress, box);
        QCOMPARE(t.FileCount(), 4);
        FaultyFileSystem fs;
        bool swapped = false;
        fs.before = [&](const QString& op, const QString& path) {
            if (swapped || op != swapBefore || !path.startsWith(sub)) return;
            swapped = QDir().rename(sub, sub + QStringLiteral(".old")) && makeSymlink(ref, sub);
        };
        CommandOutcome outcome;
        if (pass == int(Pass::Rename)) {
            outcome = runRename(numbering(), t, progress, box, fs);
        } else {
            qint32 dupCount = 0;
            const DedupOptions options{pass == int(Pass::Move) ? CheckValue::On : CheckValue::Off,
                                       dir.filePath(QStringLiteral("del"))};
            outcome = runDuplicateRemoval(t, options, dupCount, progress, box, fs);
        }
        // Held after the swap, the folder is the reference folder: both stay, and are counted.
        if (swapBefore == u"folder")
            QCOMPARE(outcome.message,
                     QStringLiteral("0件、%1しました（2件は参照ファイルのため残しました）")
                         .arg(pass == int(Pass::Rename) ? u"リネーム"
                              : pass == int(Pass::Move) ? u"移動"
                                                        : u"削除"));
        const bool acts = swapBefore == (pass == int(Pass::Delete) ? u"remove" : u"rename");
        QCOMPARE(swapped, swapBefore == u"folder" || acts);
        QCOMPARE(QDir(ref).entryList(QDir::Files),
                 QStringList({QStringLiteral("A.JPG"), QStringLiteral("B.JPG")}));
        for (const QString& name : {QStringLiteral("A.JPG"), QStringLiteral("B.JPG")})
            QCOMPARE(readFile(ref + u'/' + name), photo + name.toUtf8());
        // A swap after the folder was held leaves the held one acted on.
        if (acts)
            QVERIFY(QDir(sub + QStringLiteral(".old")).entryList(QDir::Files) !=
                    QStringList({QStringLiteral("A.JPG"), QStringLiteral("B.JPG")}));
    }

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
                t.append({QStringLiteral("/x/"), QStringLiteral("a.jpg"), 1, FileKind::Target, {}});
                RecordingProgress progress;
                ScriptedMessageBox box;
                FaultyFileSystem fs;
                QStringList ops;
                fs.before = [&](const QString& op, const QString&) { ops << op; };
                const CommandOutcome o =
                    runCollect(request(reference, refer, select), t, progress, box, fs);
                const QByteArray where = (refer + u' ' + select).toUtf8();
                QVERIFY2(box.texts == QStringList({kOverlap}), where.constData());
                QCOMPARE(box.buttons, QList<Buttons>({Buttons::Ok}));
                QVERIFY2(progress.events.isEmpty(), where.constData());
                QVERIFY(o.end == CommandEnd::Nothing && o.enableButton);
                QCOMPARE(t.FileCount(), 1);
                QVERIFY(!ops.contains(QStringLiteral("list")));
            }
        }
        // Siblings that are not prefixes of each other are fine.
        QTemporaryDir dir;
        FileTable t;
        RecordingProgress progress;
        ScriptedMessageBox box;
        collect(
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

        collect(request(false, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount(), 10);
        QStringList expected = {QStringLiteral("message:抽出しています、しばらくお待ち下さい")};
        for (int i = 1; i <= 10; ++i) expected << QStringLiteral("count:(%1)").arg(i);
        expected << QStringLiteral("message:並び替えています、しばらくお待ち下さい")
                 << QStringLiteral("busy") << QStringLiteral("black")
                 << QStringLiteral("message:10件、抽出しました") << QStringLiteral("count:(10)")
                 << QStringLiteral("enabled:1=0");
        QCOMPARE(progress.events, expected);
        QVERIFY(!progress.enabled[int(CommandButton::Select)]);  // stays off until cleared
        QVERIFY(progress.enabled[int(CommandButton::Refer)]);
        QVERIFY(box.texts.isEmpty());
        for (const FileEntry& e : t.entries) QCOMPARE(e.kind, FileKind::Target);
        QVERIFY(progress.blinks > 0);

        // Stopped after its first file, the second collection leaves the rows as they were.
        const auto paths = [&t] {
            QStringList out;
            for (const FileEntry& e : t.entries) out << e.path();
            return out;
        };
        const QStringList first = paths();
        progress.stopAfter = 2;
        collect(request(true, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(progress.lastMessage, QStringLiteral("抽出を中止しました"));
        QCOMPARE(paths(), first);
        progress.stopAfter = -1;

        progress.events.clear();
        collect(request(true, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount(), 13);
        QCOMPARE(progress.lastMessage, QStringLiteral("3件、追加しました"));
        QCOMPARE(progress.lastCount, QStringLiteral("(13)"));
        QCOMPARE(progress.events.last(), QStringLiteral("enabled:0=0"));
        QVERIFY(!progress.enabled[int(CommandButton::Refer)]);
        // Both sets are sorted together.
        for (size_t i = 1; i < t.entries.size(); ++i) {
            const FileEntry &a = t.entries[i - 1], &b = t.entries[i];
            QVERIFY(a.dir.text() < b.dir.text() || (a.dir == b.dir && a.name <= b.name));
        }
        int refs = 0;
        for (const FileEntry& e : t.entries) refs += e.kind == FileKind::Refer;
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
        collect(request(false, refer, select), t, progress, box, systemFileSystem());
        collect(request(true, refer, select), t, progress, box, systemFileSystem());
        QCOMPARE(t.FileCount(), 10);
        QCOMPARE(progress.lastMessage, QStringLiteral("参照データは有りませんでした"));
        QCOMPARE(progress.lastCount, QStringLiteral("(10)"));
        QVERIFY(progress.enabled[int(CommandButton::Refer)]);
        QVERIFY(box.texts.isEmpty());

        // Into an empty table the count label is emptied.
        FileTable empty;
        RecordingProgress p2;
        makeDir(dir.filePath(QStringLiteral("空")));
        collect(request(false, refer, dir.filePath(QStringLiteral("空"))), empty, p2, box,
                systemFileSystem());
        QCOMPARE(p2.lastMessage, QStringLiteral("抽出データは有りませんでした"));
        QVERIFY(p2.events.contains(QStringLiteral("count:")));
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
        collect(request(false, dir.filePath(QStringLiteral("r")), select), t, progress, box);
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
        collect(request(false, dir.filePath(QStringLiteral("r")), select), t, progress, box, fs);
        QCOMPARE(t.FileCount(), 2);
        QCOMPARE(progress.lastMessage, QStringLiteral("2件、抽出しました"));
        QCOMPARE(
            box.texts,
            QStringList({QStringLiteral("読み込めなかったファイル・フォルダーが2件有りました")}));
        QCOMPARE(box.buttons, QList<Buttons>({Buttons::Ok}));

        // A folder that does not exist: nothing found, and told so.
        FileTable t2;
        RecordingProgress p2;
        ScriptedMessageBox box2;
        collect(request(true, dir.filePath(QStringLiteral("無い")), select), t2, p2, box2, fs);
        QCOMPARE(p2.lastMessage, QStringLiteral("参照データは有りませんでした"));
        QCOMPARE(
            box2.texts,
            QStringList({QStringLiteral("読み込めなかったファイル・フォルダーが1件有りました")}));
    }
};

QTEST_GUILESS_MAIN(TstCollectCommand)
#include "tst_collectcommand.moc"
