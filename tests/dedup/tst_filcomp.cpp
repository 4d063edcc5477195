// The comparison of one pair: what counts as identical, how the second file is
// removed, what stops a removal, which file a failure names; and how far the
// pass reads a long run of same-size files.

#include <QTemporaryDir>
#include <QTest>

#include "core/failure.h"
#include "dedup/comparebuffers.h"
#include "dedup/duplicatepass.h"
#include "dedup/filcomp.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"

using namespace quillo;
using test::exists;
using test::readFile;
using test::writeFile;

namespace {

// One pair of table entries and the outcome of comparing them.
struct Pair {
    FileEntry first, second;
    qint32 dupCount = 0;
    Pair(const QString& dir1, const QString& name1, const QString& dir2, const QString& name2)
        : first{dir1, name1, 0, FileKind::Target, {}},
          second{dir2, name2, 0, FileKind::Target, {}} {}
    // Carried out as a plan that saw both files as they are now, size bytes long.
    PairResult run(qint64 size, FileSystem& fs, const DedupOptions& options = {},
                   const FileTable& references = {}) {
        first.size = second.size = size;
        CompareBuffers buffers;
        const ReferenceGuard guard(references);
        FolderCache folders(fs, guard);
        return FilComp(first, planned(first, size), second, planned(second, size), options, guard,
                       dupCount, folders, buffers, nullptr);
    }
    static FileState planned(const FileEntry& e, qint64 size) {
        const Result<FileInfo> info = systemFileSystem().info(e.path());
        FileState state = info ? info->state() : FileState{};
        state.size = size;
        return state;
    }
};

QByteArray pattern(qint64 size, char salt) {
    QByteArray b(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) b[i] = char((i * 131 + salt) & 0xff);
    return b;
}

FileId idOf(const QString& path) {
    const Result<FileInfo> info = systemFileSystem().info(path);
    return info ? info->id() : FileId{};
}

}  // namespace

class TstFilComp : public QObject {
    Q_OBJECT
  private slots:
    void emptyFilesAreIdentical();
    void lastByteDifferenceReadsAllAndFirstByteDifferenceStopsEarly();
    void movedDuplicateKeepsItsNameAndNeverOverwrites();
    void moveOutsideAnAbsoluteFolderOnThisDriveIsRefused_data();
    void moveOutsideAnAbsoluteFolderOnThisDriveIsRefused();
    void failureNamesTheFileItConcerns_data();
    void failureNamesTheFileItConcerns();
    void sameFileUnderTwoPathsAndReferencesAreNeverRemoved();
    void fileChangedSinceCollectionSurvives();
    void fileSwappedBetweenComparisonAndRemovalSurvives();
    void longRunIsReadAboutOncePerFile();
    void pairsSpreadOverManyFoldersAreAllRemoved();

  private:
    QTemporaryDir m_dir;
    QString root() const { return m_dir.path() + QLatin1Char('/'); }
};

void TstFilComp::emptyFilesAreIdentical() {
    writeFile(root() + QStringLiteral("e1/空.JPG"), {});
    writeFile(root() + QStringLiteral("e2/空.JPG"), {});
    Pair p{root() + QStringLiteral("e1/"), QStringLiteral("空.JPG"), root() + QStringLiteral("e2/"),
           QStringLiteral("空.JPG")};
    const PairResult r = p.run(0, systemFileSystem());
    QVERIFY(r.status.ok() && r.identical);
    QCOMPARE(p.dupCount, 1);
    QVERIFY(exists(root() + QStringLiteral("e1/空.JPG")));
    QVERIFY(!exists(root() + QStringLiteral("e2/空.JPG")));
}

void TstFilComp::lastByteDifferenceReadsAllAndFirstByteDifferenceStopsEarly() {
    const qint64 size = 3 * kCompareChunk + 17;
    QByteArray a = pattern(size, 1);
    QByteArray b = a;
    b[size - 1] = char(b[size - 1] ^ 1);
    QByteArray c = a;
    c[0] = char(c[0] ^ 1);
    writeFile(root() + QStringLiteral("l/a.JPG"), a);
    writeFile(root() + QStringLiteral("l/b.JPG"), b);
    writeFile(root() + QStringLiteral("l/c.JPG"), c);
    const QString dir = root() + QStringLiteral("l/");

    test::FaultyFileSystem fs;
    Pair ab{dir, QStringLiteral("a.JPG"), dir, QStringLiteral("b.JPG")};
    PairResult r = ab.run(size, fs);
    QVERIFY(r.status.ok() && !r.identical);
    QCOMPARE(ab.dupCount, 0);
    QCOMPARE(fs.bytesRead.load(), 2 * size);
    QVERIFY(exists(dir + QStringLiteral("b.JPG")));

    // A difference in the first chunk ends the comparison there.
    fs.bytesRead = 0;
    Pair ac{dir, QStringLiteral("a.JPG"), dir, QStringLiteral("c.JPG")};
    r = ac.run(size, fs);
    QVERIFY(r.status.ok() && !r.identical);
    QCOMPARE(ac.dupCount, 0);
    QCOMPARE(fs.bytesRead.load(), 2 * kCompareChunk);

    // A large identical pair: equal through every chunk and removed.
    writeFile(dir + QStringLiteral("d.JPG"), a);
    Pair ad{dir, QStringLiteral("a.JPG"), dir, QStringLiteral("d.JPG")};
    QVERIFY(ad.run(size, systemFileSystem()).identical);
    QCOMPARE(ad.dupCount, 1);
    QVERIFY(!exists(dir + QStringLiteral("d.JPG")));
}

void TstFilComp::movedDuplicateKeepsItsNameAndNeverOverwrites() {
    const QString del = root() + QStringLiteral("mv/削除");
    writeFile(root() + QStringLiteral("mv/ref/x.JPG"), "same");
    writeFile(root() + QStringLiteral("mv/sel/写真.JPG"), "same");
    writeFile(root() + QStringLiteral("mv/sel/y.JPG"), "same");
    writeFile(del + QStringLiteral("/y.JPG"), "older");
    const DedupOptions move{CheckValue::On, del};

    Pair p{root() + QStringLiteral("mv/ref/"), QStringLiteral("x.JPG"),
           root() + QStringLiteral("mv/sel/"), QStringLiteral("写真.JPG")};
    QVERIFY(p.run(4, systemFileSystem(), move).status.ok());
    QCOMPARE(p.dupCount, 1);
    QVERIFY(!exists(root() + QStringLiteral("mv/sel/写真.JPG")));
    QCOMPARE(readFile(del + QStringLiteral("/写真.JPG")), QByteArray("same"));

    // The name is taken in the delete folder: 58 on the moved file, nothing
    // moved, nothing counted, though the pair was identical.
    Pair q{root() + QStringLiteral("mv/ref/"), QStringLiteral("x.JPG"),
           root() + QStringLiteral("mv/sel/"), QStringLiteral("y.JPG")};
    const PairResult r = q.run(4, systemFileSystem(), move);
    QCOMPARE(r.status.failure().code, code::FileExists);
    QCOMPARE(r.failedPath, root() + QStringLiteral("mv/sel/y.JPG"));
    QVERIFY(r.identical);
    QCOMPARE(q.dupCount, 0);
    QCOMPARE(readFile(del + QStringLiteral("/y.JPG")), QByteArray("older"));
    QCOMPARE(readFile(root() + QStringLiteral("mv/sel/y.JPG")), QByteArray("same"));
}

void TstFilComp::moveOutsideAnAbsoluteFolderOnThisDriveIsRefused_data() {
    QTest::addColumn<QString>("folder");  // "<shm>" and "<root>" stand for the test's folders
    QTest::addColumn<int>("code");
    QTest::newRow("other file system") << QStringLiteral("<shm>") << code::RenameAcrossDrives;
    QTest::newRow("missing folder") << QStringLiteral("<root>無い") << code::PathNotFound;
    // A hand-edited settings file never sends the file to the root or the
    // working directory.
    QTest::newRow("empty") << QString() << code::PathNotFound;
    QTest::newRow("relative") << QStringLiteral("dup") << code::PathNotFound;
}

void TstFilComp::moveOutsideAnAbsoluteFolderOnThisDriveIsRefused() {
    QFETCH(QString, folder);
    QFETCH(int, code);
    QTemporaryDir shm(QStringLiteral("/dev/shm/quillo-dedup-XXXXXX"));
    QVERIFY(shm.isValid());
    folder.replace(QStringLiteral("<shm>"), shm.path()).replace(QStringLiteral("<root>"), root());
    const QString dir = root() + QStringLiteral("x/");
    writeFile(dir + QStringLiteral("1.JPG"), "abc");
    writeFile(dir + QStringLiteral("2.JPG"), "abc");
    Pair p{dir, QStringLiteral("1.JPG"), dir, QStringLiteral("2.JPG")};
    const PairResult r = p.run(3, systemFileSystem(), DedupOptions{CheckValue::On, folder});
    QCOMPARE(r.status.failure().code, code);
    QCOMPARE(r.failedPath, dir + QStringLiteral("2.JPG"));
    QVERIFY(exists(dir + QStringLiteral("2.JPG")));
    QVERIFY(!exists(shm.path() + QStringLiteral("/2.JPG")) && !exists(QStringLiteral("/2.JPG")));
    QCOMPARE(p.dupCount, 0);
}

void TstFilComp::failureNamesTheFileItConcerns_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("which");  // 0: the first file, 1: the second
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("identical");
    const QString missing = describeFailure(code::FileNotFound);
    const QString refusedRead = QStringLiteral("読み込みできません。");
    QTest::newRow("first missing") << "missing" << 0 << code::FileNotFound << missing << false;
    QTest::newRow("second missing") << "missing" << 1 << code::FileNotFound << missing << false;
    QTest::newRow("first open refused")
        << "open" << 0 << code::PermissionDenied << refusedRead << false;
    QTest::newRow("second open refused")
        << "open" << 1 << code::PermissionDenied << refusedRead << false;
    QTest::newRow("first read refused")
        << "read" << 0 << code::PermissionDenied << refusedRead << false;
    QTest::newRow("second read fails")
        << "read" << 1 << code::DeviceIo << describeFailure(code::DeviceIo) << false;
    QTest::newRow("removal refused") << "remove" << 1 << code::PermissionDenied
                                     << QStringLiteral("書き込みできません。") << true;
}

void TstFilComp::failureNamesTheFileItConcerns() {
    QFETCH(QString, op);
    QFETCH(int, which);
    QFETCH(int, code);
    QFETCH(QString, description);
    QFETCH(bool, identical);
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    const QString paths[2] = {dir + QStringLiteral("here.JPG"), dir + QStringLiteral("copy.JPG")};
    test::FaultyFileSystem fs;
    for (int k = 0; k < 2; ++k)
        if (op != QLatin1String("missing") || k != which) writeFile(paths[k], "abc");
    if (op == QLatin1String("open")) fs.failOpen.insert(paths[which], code);
    if (op == QLatin1String("read")) fs.failRead.insert(paths[which], code);
    if (op == QLatin1String("remove")) fs.failRemove.insert(paths[which], code);
    Pair p{dir, QStringLiteral("here.JPG"), dir, QStringLiteral("copy.JPG")};
    const PairResult r = p.run(3, fs);
    QCOMPARE(r.status.failure().code, code);
    QCOMPARE(r.status.failure().description, description);
    QCOMPARE(r.failedPath, paths[which]);
    QCOMPARE(r.identical, identical);
    QCOMPARE(p.dupCount, 0);
    QCOMPARE(exists(paths[1]), op != QLatin1String("missing") || which != 1);
}

void TstFilComp::sameFileUnderTwoPathsAndReferencesAreNeverRemoved() {
    const QString dir = root() + QStringLiteral("h/");
    writeFile(dir + QStringLiteral("orig.JPG"), "only copy");
    QUILLO_SYMLINK_OR_SKIP(dir + QStringLiteral("orig.JPG"), dir + QStringLiteral("soft.JPG"));
    QVERIFY(test::makeHardLink(dir + QStringLiteral("orig.JPG"), dir + QStringLiteral("hard.JPG")));
    test::FaultyFileSystem fs;
    Pair p{dir, QStringLiteral("orig.JPG"), dir, QStringLiteral("hard.JPG")};
    QVERIFY(p.run(9, fs).status.ok());
    QCOMPARE(p.dupCount, 0);
    QCOMPARE(fs.bytesRead.load(), 0);
    QVERIFY(exists(dir + QStringLiteral("hard.JPG")));
    // A symbolic link now standing where a file was is not a file.
    Pair s{dir, QStringLiteral("orig.JPG"), dir, QStringLiteral("soft.JPG")};
    QVERIFY(s.run(9, fs).status.ok());
    QCOMPARE(s.dupCount, 0);
    QVERIFY(exists(dir + QStringLiteral("soft.JPG")));

    // A true copy whose second name is a collected reference stays, whatever
    // the entry's kind and recorded identity say.
    writeFile(dir + QStringLiteral("copy.JPG"), "only copy");
    FileTable references;
    references.append(FileEntry{root() + QStringLiteral("ref/"), QStringLiteral("r.JPG"), 9,
                                FileKind::Refer, idOf(dir + QStringLiteral("orig.JPG"))});
    Pair g{dir, QStringLiteral("copy.JPG"), dir, QStringLiteral("hard.JPG")};
    const PairResult r = g.run(9, fs, {}, references);
    QVERIFY(r.status.ok() && !r.identical);
    QCOMPARE(g.dupCount, 0);
    QVERIFY(exists(dir + QStringLiteral("hard.JPG")));
    // Without the reference the same pair goes.
    QVERIFY(g.run(9, fs).identical);
    QVERIFY(!exists(dir + QStringLiteral("hard.JPG")));
}

void TstFilComp::fileChangedSinceCollectionSurvives() {
    const QString dir = root() + QStringLiteral("g/");
    writeFile(dir + QStringLiteral("a.JPG"), "abcd");
    writeFile(dir + QStringLiteral("grown.JPG"), "abcdEF");  // collected at 4 bytes
    writeFile(dir + QStringLiteral("short.JPG"), "ab");
    for (const QString& name : {QStringLiteral("grown.JPG"), QStringLiteral("short.JPG")}) {
        Pair p{dir, QStringLiteral("a.JPG"), dir, name};
        QVERIFY(p.run(4, systemFileSystem()).status.ok());
        QCOMPARE(p.dupCount, 0);
        QVERIFY(exists(dir + name));
    }
    // The first file grown: the pair differs too.
    writeFile(dir + QStringLiteral("b.JPG"), "abcd");
    Pair q{dir, QStringLiteral("grown.JPG"), dir, QStringLiteral("b.JPG")};
    QVERIFY(q.run(4, systemFileSystem()).status.ok());
    QCOMPARE(q.dupCount, 0);
    QVERIFY(exists(dir + QStringLiteral("b.JPG")));
}

void TstFilComp::fileSwappedBetweenComparisonAndRemovalSurvives() {
    const QString dir = root() + QStringLiteral("s/");
    // Which file another program changes after the bytes were compared.
    for (const QString& victim : {QStringLiteral("two.JPG"), QStringLiteral("one.JPG")}) {
        writeFile(dir + QStringLiteral("one.JPG"), "12345678");
        writeFile(dir + QStringLiteral("two.JPG"), "12345678");
        test::FaultyFileSystem fs;
        int looks = 0;
        fs.before = [&](const QString& op, const QString& path) {
            // The second look at a file is the check just before the removal.
            if (op == QLatin1String("info") && path == dir + victim && ++looks == 2) {
                writeFile(dir + QStringLiteral("new.tmp"), "87654321");
                // Moved aside, not removed: on Windows a removed file that is
                // still open keeps its name until it is closed.
                QFile::remove(dir + victim + QStringLiteral(".old"));
                QVERIFY(QFile::rename(dir + victim, dir + victim + QStringLiteral(".old")));
                QVERIFY(QFile::rename(dir + QStringLiteral("new.tmp"), dir + victim));
            }
        };
        Pair p{dir, QStringLiteral("one.JPG"), dir, QStringLiteral("two.JPG")};
        const PairResult r = p.run(8, fs);
        QVERIFY(r.status.ok() && !r.identical);
        QCOMPARE(looks, 2);
        QCOMPARE(p.dupCount, 0);
        QVERIFY(exists(dir + QStringLiteral("one.JPG")));
        QVERIFY(exists(dir + QStringLiteral("two.JPG")));
    }
}

void TstFilComp::longRunIsReadAboutOncePerFile() {
    // 300 files of one size that share their first and last bytes and differ
    // just after the first piece (more than the search keeps open at once),
    // two copies of the first, and one that differs from it only in its last
    // byte.
    const QString dir = root() + QStringLiteral("run/");
    const qint64 size = 100 * 1024;
    const QByteArray base = pattern(size, 7);
    FileTable table;
    const auto add = [&](const QString& name, const QByteArray& bytes) {
        writeFile(dir + name, bytes);
        table.append(FileEntry{dir, name, size, FileKind::Target, idOf(dir + name)});
    };
    for (int k = 0; k < 300; ++k)
        add(QStringLiteral("f%1.JPG").arg(k, 3, 10, QLatin1Char('0')),
            QByteArray(base).replace(kFirstPiece + 100, 10,
                                     QByteArray::number(k * 7919).rightJustified(10, '0')));
    const QByteArray first = readFile(dir + QStringLiteral("f000.JPG"));
    add(QStringLiteral("g1.JPG"), first);
    add(QStringLiteral("g2.JPG"), first);
    QByteArray late = first;
    late[size - 1] = char(late[size - 1] ^ 1);
    add(QStringLiteral("late.JPG"), late);
    const qint64 files = table.FileCount();

    test::FaultyFileSystem fs;
    test::RecordingProgress progress;
    test::ScriptedMessageBox box;
    qint32 dupCount = 0;
    progress.finish(runDuplicateRemoval(table, {}, dupCount, progress, box, fs),
                    CommandButton::Delete, box);
    QCOMPARE(dupCount, 2);
    QVERIFY(!exists(dir + QStringLiteral("g1.JPG")) && !exists(dir + QStringLiteral("g2.JPG")));
    QVERIFY(exists(dir + QStringLiteral("f000.JPG")) && exists(dir + QStringLiteral("late.JPG")));
    QVERIFY(box.texts.isEmpty());
    // Per file its first piece, its last bytes and the piece after the first;
    // the three copies read whole; the two duplicates each found by reading
    // both files whole, and read so once more just before their removal.
    // Comparing every pair would read each file about a hundred times.
    const qint64 bound =
        files * (kFirstPiece + kTailPiece + 64 * 1024) + 3 * size + 2 * 2 * 2 * size;
    QVERIFY2(fs.bytesRead <= bound,
             qPrintable(
                 QStringLiteral("%1 bytes read, at most %2").arg(fs.bytesRead.load()).arg(bound)));
    QVERIFY2(fs.bytesRead >= files * (kFirstPiece + kTailPiece),
             qPrintable(QString::number(fs.bytesRead.load())));
}

void TstFilComp::pairsSpreadOverManyFoldersAreAllRemoved() {
    // More folders than the pass holds open at once, met in pairs after a run
    // of three: folders are let go while a pair still uses one of them.
    FileTable table;
    const auto add = [&](const QString& dir, const QByteArray& bytes) {
        writeFile(dir + QStringLiteral("x.JPG"), bytes);
        table.append(FileEntry{dir, QStringLiteral("x.JPG"), bytes.size(), FileKind::Target,
                               idOf(dir + QStringLiteral("x.JPG"))});
    };
    for (int k = 0; k < 3; ++k) add(root() + QStringLiteral("many/r%1/").arg(k), "run");
    const int pairs = 140;
    for (int k = 0; k < pairs; ++k)
        for (const char* side : {"a", "b"})
            add(root() + QStringLiteral("many/%1%2/").arg(k).arg(QLatin1String(side)),
                pattern(10 + k, 3));
    test::RecordingProgress progress;
    test::ScriptedMessageBox box;
    qint32 dupCount = 0;
    (void)runDuplicateRemoval(table, {}, dupCount, progress, box, systemFileSystem());
    QCOMPARE(dupCount, pairs + 2);
    QVERIFY(box.texts.isEmpty());
}

QTEST_GUILESS_MAIN(TstFilComp)
#include "tst_filcomp.moc"
