// The comparison of one pair: what counts as identical, how the second file is
// removed, and what stops a removal.
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "dedup/comparisonmemo.h"
#include "dedup/duplicatepass.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "platform/failure.h"

using namespace quillo;
using test::exists;
using test::readFile;
using test::writeFile;

namespace {

// One pair of table cells and the outcome of comparing them.
struct Pair {
    QString dir1, name1, dir2, name2;
    qint32 dupCount = 0;
    Status run(qint64 size, FileSystem& fs, const DedupOptions& options = {},
               ComparisonMemo* memo = nullptr) {
        return FilComp(dir1, name1, dir2, name2, size, options, dupCount, fs, memo);
    }
};

QByteArray pattern(qint64 size, char salt) {
    QByteArray b(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) b[i] = char((i * 131 + salt) & 0xff);
    return b;
}

// Compares dir/x with dir/y through one memo: the duplicates counted (-1 on a
// failure) and the bytes read.
std::pair<qint32, qint64> compareCounted(const QString& dir, const char* x, const char* y,
                                         qint64 size, test::FaultyFileSystem& fs,
                                         ComparisonMemo& memo) {
    Pair p{dir, QLatin1String(x), dir, QLatin1String(y)};
    const qint64 before = fs.bytesRead;
    const Status s = p.run(size, fs, {}, &memo);
    return std::make_pair(s.ok() ? p.dupCount : -1, fs.bytesRead - before);
}

}  // namespace

class TestFilComp : public QObject {
    Q_OBJECT
  private slots:
    void emptyFilesAreIdentical();
    void lastByteDifferenceReadsAllAndFirstByteDifferenceStopsEarly();
    void movedDuplicateKeepsItsNameAndNeverOverwrites();
    void moveAcrossFileSystemsAndIntoMissingFolderAreRefused();
    void missingFilesAndFailedRemovalAreNotCounted();
    void sameFileUnderTwoPathsIsNeverADuplicate();
    void fileChangedSinceCollectionSurvives();
    void fileSwappedBetweenComparisonAndRemovalSurvives();
    void memoSkipsReadsButNeverProvesEquality();
    void steppedPiecesReadOnlyAsFarAsADifference();

  private:
    QTemporaryDir m_dir;
    QString root() const { return m_dir.path() + QLatin1Char('/'); }
};

void TestFilComp::emptyFilesAreIdentical() {
    writeFile(root() + QStringLiteral("e1/空.JPG"), {});
    writeFile(root() + QStringLiteral("e2/空.JPG"), {});
    Pair p{root() + QStringLiteral("e1/"), QStringLiteral("空.JPG"), root() + QStringLiteral("e2/"),
           QStringLiteral("空.JPG")};
    QVERIFY(p.run(0, systemFileSystem()).ok());
    QCOMPARE(p.dupCount, 1);
    QVERIFY(p.dir2.isEmpty() && p.name2.isEmpty());
    QCOMPARE(p.name1, QStringLiteral("空.JPG"));
    QVERIFY(exists(root() + QStringLiteral("e1/空.JPG")));
    QVERIFY(!exists(root() + QStringLiteral("e2/空.JPG")));
}

void TestFilComp::lastByteDifferenceReadsAllAndFirstByteDifferenceStopsEarly() {
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
    QVERIFY(ab.run(size, fs).ok());
    QCOMPARE(ab.dupCount, 0);
    QCOMPARE(ab.name2, QStringLiteral("b.JPG"));
    QCOMPARE(fs.bytesRead, 2 * size);
    QVERIFY(exists(dir + QStringLiteral("b.JPG")));

    // A difference in the first piece ends the comparison there.
    fs.bytesRead = 0;
    Pair ac{dir, QStringLiteral("a.JPG"), dir, QStringLiteral("c.JPG")};
    QVERIFY(ac.run(size, fs).ok());
    QCOMPARE(ac.dupCount, 0);
    QCOMPARE(fs.bytesRead, 2 * kFirstPiece);

    // A large identical pair: equal through every chunk and removed.
    writeFile(dir + QStringLiteral("d.JPG"), a);
    Pair ad{dir, QStringLiteral("a.JPG"), dir, QStringLiteral("d.JPG")};
    QVERIFY(ad.run(size, systemFileSystem()).ok());
    QCOMPARE(ad.dupCount, 1);
    QVERIFY(!exists(dir + QStringLiteral("d.JPG")));
}

void TestFilComp::movedDuplicateKeepsItsNameAndNeverOverwrites() {
    const QString del = root() + QStringLiteral("mv/削除");
    writeFile(root() + QStringLiteral("mv/ref/x.JPG"), "same");
    writeFile(root() + QStringLiteral("mv/sel/写真.JPG"), "same");
    writeFile(root() + QStringLiteral("mv/sel/y.JPG"), "same");
    writeFile(del + QStringLiteral("/y.JPG"), "older");
    const DedupOptions move{1, del};

    Pair p{root() + QStringLiteral("mv/ref/"), QStringLiteral("x.JPG"),
           root() + QStringLiteral("mv/sel/"), QStringLiteral("写真.JPG")};
    QVERIFY(p.run(4, systemFileSystem(), move).ok());
    QCOMPARE(p.dupCount, 1);
    QVERIFY(p.name2.isEmpty());
    QCOMPARE(readFile(del + QStringLiteral("/写真.JPG")), QByteArray("same"));

    // The name is taken in the delete folder: 58, nothing moved, nothing counted.
    Pair q{root() + QStringLiteral("mv/ref/"), QStringLiteral("x.JPG"),
           root() + QStringLiteral("mv/sel/"), QStringLiteral("y.JPG")};
    const Status s = q.run(4, systemFileSystem(), move);
    QCOMPARE(s.failure().code, code::FileExists);
    QCOMPARE(q.dupCount, 0);
    QCOMPARE(q.name2, QStringLiteral("y.JPG"));
    QCOMPARE(readFile(del + QStringLiteral("/y.JPG")), QByteArray("older"));
    QCOMPARE(readFile(root() + QStringLiteral("mv/sel/y.JPG")), QByteArray("same"));
}

void TestFilComp::moveAcrossFileSystemsAndIntoMissingFolderAreRefused() {
    QTemporaryDir shm(QStringLiteral("/dev/shm/quillo-dedup-XXXXXX"));
    QVERIFY(shm.isValid());
    writeFile(root() + QStringLiteral("x/1.JPG"), "abc");
    writeFile(root() + QStringLiteral("x/2.JPG"), "abc");
    const QString dir = root() + QStringLiteral("x/");
    Pair p{dir, QStringLiteral("1.JPG"), dir, QStringLiteral("2.JPG")};
    Status s = p.run(3, systemFileSystem(), DedupOptions{1, shm.path()});
    QCOMPARE(s.failure().code, code::RenameAcrossDrives);
    QVERIFY(exists(dir + QStringLiteral("2.JPG")));
    QVERIFY(!exists(shm.path() + QStringLiteral("/2.JPG")));
    QCOMPARE(p.dupCount, 0);

    s = p.run(3, systemFileSystem(), DedupOptions{1, root() + QStringLiteral("無い")});
    QCOMPARE(s.failure().code, code::PathNotFound);
    QVERIFY(exists(dir + QStringLiteral("2.JPG")));
    QCOMPARE(p.dupCount, 0);
    QCOMPARE(p.name2, QStringLiteral("2.JPG"));

    // An empty or relative delete folder (a hand-edited settings file) never
    // sends the file to the root or the working directory.
    for (const QString& folder : {QString(), QStringLiteral("dup")}) {
        s = p.run(3, systemFileSystem(), DedupOptions{1, folder});
        QCOMPARE(s.failure().code, code::PathNotFound);
        QVERIFY(exists(dir + QStringLiteral("2.JPG")));
        QVERIFY(!exists(QStringLiteral("/2.JPG")));
        QCOMPARE(p.dupCount, 0);
    }
}

void TestFilComp::missingFilesAndFailedRemovalAreNotCounted() {
    const QString dir = root() + QStringLiteral("m/");
    writeFile(dir + QStringLiteral("here.JPG"), "abc");
    Pair first{dir, QStringLiteral("gone.JPG"), dir, QStringLiteral("here.JPG")};
    QCOMPARE(first.run(3, systemFileSystem()).failure().code, code::FileNotFound);
    Pair second{dir, QStringLiteral("here.JPG"), dir, QStringLiteral("gone.JPG")};
    QCOMPARE(second.run(3, systemFileSystem()).failure().code, code::FileNotFound);
    QCOMPARE(first.dupCount + second.dupCount, 0);

    writeFile(dir + QStringLiteral("copy.JPG"), "abc");
    test::FaultyFileSystem fs;
    fs.failRemove.insert(dir + QStringLiteral("copy.JPG"), code::PermissionDenied);
    Pair p{dir, QStringLiteral("here.JPG"), dir, QStringLiteral("copy.JPG")};
    QCOMPARE(p.run(3, fs).failure().code, code::PermissionDenied);
    QCOMPARE(p.dupCount, 0);
    QCOMPARE(p.name2, QStringLiteral("copy.JPG"));

    // A read failure reaches the caller as itself.
    fs.failRead.insert(dir + QStringLiteral("copy.JPG"), code::DeviceIo);
    QCOMPARE(p.run(3, fs).failure().code, code::DeviceIo);
    QVERIFY(exists(dir + QStringLiteral("copy.JPG")));
}

void TestFilComp::sameFileUnderTwoPathsIsNeverADuplicate() {
    const QString dir = root() + QStringLiteral("h/");
    writeFile(dir + QStringLiteral("orig.JPG"), "only copy");
    QVERIFY(QFile::link(dir + QStringLiteral("orig.JPG"), dir + QStringLiteral("soft.JPG")));
    QCOMPARE(::link(qPrintable(dir + QStringLiteral("orig.JPG")),
                    qPrintable(dir + QStringLiteral("hard.JPG"))),
             0);
    test::FaultyFileSystem fs;
    Pair p{dir, QStringLiteral("orig.JPG"), dir, QStringLiteral("hard.JPG")};
    QVERIFY(p.run(9, fs).ok());
    QCOMPARE(p.dupCount, 0);
    QCOMPARE(fs.bytesRead, 0);
    QVERIFY(exists(dir + QStringLiteral("hard.JPG")));
    // A symbolic link now standing where a file was is not a file.
    Pair s{dir, QStringLiteral("orig.JPG"), dir, QStringLiteral("soft.JPG")};
    QVERIFY(s.run(9, fs).ok());
    QCOMPARE(s.dupCount, 0);
    QVERIFY(exists(dir + QStringLiteral("soft.JPG")));
}

void TestFilComp::fileChangedSinceCollectionSurvives() {
    const QString dir = root() + QStringLiteral("g/");
    writeFile(dir + QStringLiteral("a.JPG"), "abcd");
    writeFile(dir + QStringLiteral("grown.JPG"), "abcdEF");  // collected at 4 bytes
    writeFile(dir + QStringLiteral("short.JPG"), "ab");
    for (const QString& name : {QStringLiteral("grown.JPG"), QStringLiteral("short.JPG")}) {
        Pair p{dir, QStringLiteral("a.JPG"), dir, name};
        QVERIFY(p.run(4, systemFileSystem()).ok());
        QCOMPARE(p.dupCount, 0);
        QVERIFY(exists(dir + name));
    }
    // The first file grown: the pair differs too.
    writeFile(dir + QStringLiteral("b.JPG"), "abcd");
    Pair q{dir, QStringLiteral("grown.JPG"), dir, QStringLiteral("b.JPG")};
    QVERIFY(q.run(4, systemFileSystem()).ok());
    QCOMPARE(q.dupCount, 0);
    QVERIFY(exists(dir + QStringLiteral("b.JPG")));
}

void TestFilComp::fileSwappedBetweenComparisonAndRemovalSurvives() {
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
                QVERIFY(QFile::remove(dir + victim));
                QVERIFY(QFile::rename(dir + QStringLiteral("new.tmp"), dir + victim));
            }
        };
        Pair p{dir, QStringLiteral("one.JPG"), dir, QStringLiteral("two.JPG")};
        QVERIFY(p.run(8, fs).ok());
        QCOMPARE(looks, 2);
        QCOMPARE(p.dupCount, 0);
        QCOMPARE(p.name2, QStringLiteral("two.JPG"));
        QVERIFY(exists(dir + QStringLiteral("one.JPG")));
        QVERIFY(exists(dir + QStringLiteral("two.JPG")));
    }
}

void TestFilComp::memoSkipsReadsButNeverProvesEquality() {
    const QString dir = root() + QStringLiteral("memo/");
    const qint64 size = 64 * 1024;
    writeFile(dir + QStringLiteral("a.JPG"), pattern(size, 1));
    writeFile(dir + QStringLiteral("b.JPG"), pattern(size, 2));
    writeFile(dir + QStringLiteral("c.JPG"), pattern(size, 3));
    writeFile(dir + QStringLiteral("d.JPG"), pattern(size, 1));
    test::FaultyFileSystem fs;
    ComparisonMemo memo;
    const auto compare = [&](const char* x, const char* y) {
        return compareCounted(dir, x, y, size, fs, memo);
    };
    QCOMPARE(compare("a.JPG", "b.JPG"), std::make_pair(0, 2 * size));
    // a is known: only c is read, and its digest rules the pair out.
    QCOMPARE(compare("a.JPG", "c.JPG"), std::make_pair(0, size));
    // Both known and different: no I/O at all.
    const int opens = fs.opens;
    QCOMPARE(compare("b.JPG", "c.JPG"), std::make_pair(0, qint64(0)));
    QCOMPARE(fs.opens, opens);
    // Equal digests prove nothing: both files are read before d is removed.
    QCOMPARE(compare("a.JPG", "d.JPG"), std::make_pair(1, 2 * size));
    QVERIFY(!exists(dir + QStringLiteral("d.JPG")));
    // A file rewritten since it was read is not judged by its old digest.
    writeFile(dir + QStringLiteral("d.JPG"), pattern(size, 2));
    QCOMPARE(compare("a.JPG", "d.JPG"), std::make_pair(0, size));
    // A file rewritten during the pass to equal another may be judged by its
    // old digest: that only ever keeps a file. A new pass sees the new content.
    writeFile(dir + QStringLiteral("b.JPG"), pattern(size, 1));
    QCOMPARE(compare("a.JPG", "b.JPG"), std::make_pair(0, qint64(0)));
    QVERIFY(exists(dir + QStringLiteral("b.JPG")));
    memo = ComparisonMemo();
    QCOMPARE(compare("a.JPG", "b.JPG"), std::make_pair(1, 2 * size));
}

void TestFilComp::steppedPiecesReadOnlyAsFarAsADifference() {
    const QString dir = root() + QStringLiteral("step/");
    const qint64 size = 2 * kCompareChunk + 17;
    const QByteArray a = pattern(size, 1);
    const auto flipped = [&](qint64 at) {
        QByteArray b = a;
        b[at] = char(b[at] ^ 1);
        return b;
    };
    writeFile(dir + QStringLiteral("a.JPG"), a);
    writeFile(dir + QStringLiteral("b.JPG"), flipped(kFirstPiece + 10));  // in piece 1
    writeFile(dir + QStringLiteral("c.JPG"), flipped(300 * 1024));        // in piece 3
    writeFile(dir + QStringLiteral("d.JPG"), a);
    writeFile(dir + QStringLiteral("e.JPG"), flipped(size - 1));  // beyond any digest
    test::FaultyFileSystem fs;
    ComparisonMemo memo;
    const auto compare = [&](const char* x, const char* y) {
        return compareCounted(dir, x, y, size, fs, memo);
    };
    // Pieces double from kFirstPiece: 64 KiB, 64 KiB, 128 KiB, 256 KiB ...
    QCOMPARE(compare("a.JPG", "b.JPG"), std::make_pair(0, 2 * 2 * kFirstPiece));
    QCOMPARE(compare("a.JPG", "c.JPG"), std::make_pair(0, 2 * 8 * kFirstPiece));
    QCOMPARE(compare("b.JPG", "d.JPG"), std::make_pair(0, 2 * 2 * kFirstPiece));
    // Digests taken only part of the way: a late difference is still found by
    // reading both files to the end, and the file stays.
    QCOMPARE(compare("a.JPG", "e.JPG"), std::make_pair(0, 2 * size));
    QVERIFY(exists(dir + QStringLiteral("e.JPG")));
    // Equal digests of the leading pieces: the copy is compared whole, then removed.
    QCOMPARE(compare("a.JPG", "d.JPG"), std::make_pair(1, 2 * size));
    QVERIFY(!exists(dir + QStringLiteral("d.JPG")));
    // Known digests that differ: no reads at all.
    QCOMPARE(compare("b.JPG", "c.JPG"), std::make_pair(0, qint64(0)));
    QVERIFY(exists(dir + QStringLiteral("b.JPG")) && exists(dir + QStringLiteral("c.JPG")));
}

QTEST_GUILESS_MAIN(TestFilComp)
#include "tst_filcomp.moc"
