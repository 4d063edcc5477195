// The size sort: key order, stopping, and the small tables.
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <tuple>

#include "dedup/sizesort.h"
#include "recordingprogress.h"

using namespace quillo;

namespace {

struct Rows {
    std::vector<FileEntry> rows;
    void add(qint64 size, FileKind kind, const QString& dir, const QString& name) {
        rows.push_back(FileEntry{dir, name, size, kind, {}});
    }
    QStringList rendered() const {
        QStringList out;
        for (const FileEntry& e : rows)
            out << QStringLiteral("%1|%2|%3%4")
                       .arg(e.size)
                       .arg(kindLabel(e.kind), e.dir.text(), e.name);
        return out;
    }
};

const FileKind R = FileKind::Refer;
const FileKind T = FileKind::Target;

}  // namespace

class TstSizeSort : public QObject {
    Q_OBJECT
  private slots:
    void smallTablesAreLeftAlone();
    void keysInTurn();
    void stopRequestEndsTheSort_data();
    void stopRequestEndsTheSort();
    void randomTablesMatchAStableSortOfTheKeys();
};

void TstSizeSort::smallTablesAreLeftAlone() {
    test::RecordingProgress progress;
    Rows none;
    SizeSort(none.rows, progress);
    Rows one;
    one.add(5, T, QStringLiteral("/b/"), QStringLiteral("x.JPG"));
    SizeSort(one.rows, progress);
    QCOMPARE(one.rendered(), QStringList{QStringLiteral("5|対象|/b/x.JPG")});
    QCOMPARE(progress.blinks, 0);

    // Two rows out of order: exchanged, with one blink.
    Rows two;
    two.add(9, T, QStringLiteral("/a/"), QStringLiteral("y.JPG"));
    two.add(3, T, QStringLiteral("/a/"), QStringLiteral("z.JPG"));
    SizeSort(two.rows, progress);
    QCOMPARE(two.rendered(),
             (QStringList{QStringLiteral("3|対象|/a/z.JPG"), QStringLiteral("9|対象|/a/y.JPG")}));
    QCOMPARE(progress.blinks, 1);
}

void TstSizeSort::keysInTurn() {
    Rows rows;
    rows.add(10, T, QStringLiteral("/a/"), QStringLiteral("b.jpg"));
    rows.add(10, T, QStringLiteral("/a/"), QStringLiteral("B.JPG"));
    rows.add(10, R, QStringLiteral("/z/"), QStringLiteral("z.JPG"));
    rows.add(10, R, QStringLiteral("/y/"), QStringLiteral("z.JPG"));
    rows.add(3000000000LL, T, QStringLiteral("/a/"), QStringLiteral("big.JPG"));
    rows.add(2, T, QStringLiteral("/写真/"), QStringLiteral("a.JPG"));
    rows.add(10, T, QStringLiteral("/a/"), QStringLiteral("b"));  // a prefix sorts first
    // By code unit a surrogate (D83D) sorts before a full-width letter (FF21),
    // although its code point is higher.
    rows.add(7, T, QStringLiteral("/a/"), QStringLiteral("Ａ"));
    rows.add(7, T, QStringLiteral("/a/"), QString::fromUcs4(U"\U0001F600"));
    rows.add(10, T, QStringLiteral("/a/"), QStringLiteral("b.jpg"));  // identical rows
    test::RecordingProgress progress;
    SizeSort(rows.rows, progress);
    const QStringList expected{
        QStringLiteral("2|対象|/写真/a.JPG"),
        QStringLiteral("7|対象|/a/") + QString::fromUcs4(U"\U0001F600"),
        QStringLiteral("7|対象|/a/Ａ"),
        QStringLiteral("10|参照|/y/z.JPG"),
        QStringLiteral("10|参照|/z/z.JPG"),
        QStringLiteral("10|対象|/a/B.JPG"),
        QStringLiteral("10|対象|/a/b"),
        QStringLiteral("10|対象|/a/b.jpg"),
        QStringLiteral("10|対象|/a/b.jpg"),
        QStringLiteral("3000000000|対象|/a/big.JPG"),
    };
    QCOMPARE(rows.rendered(), expected);
}

void TstSizeSort::stopRequestEndsTheSort_data() {
    QTest::addColumn<int>("stopAfter");
    QTest::addColumn<bool>("completed");
    QTest::newRow("at once") << 0 << false;
    QTest::newRow("never") << -1 << true;
}

void TstSizeSort::stopRequestEndsTheSort() {
    QFETCH(int, stopAfter);
    QFETCH(bool, completed);
    Rows rows;
    for (int i = 0; i < 40000; ++i)
        rows.add(40000 - i, T, QStringLiteral("/a/"), QStringLiteral("%1").arg(i));
    test::RecordingProgress progress;
    progress.stopAfter = stopAfter;
    QCOMPARE(SizeSort(rows.rows, progress), completed);
    QCOMPARE(rows.rows.front().size == 1, completed);
    QVERIFY(progress.blinks > 0);
}

void TstSizeSort::randomTablesMatchAStableSortOfTheKeys() {
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    const QStringList dirs{QStringLiteral("/a/"), QStringLiteral("/A/"), QStringLiteral("/a/b/"),
                           QStringLiteral("/写真/")};
    const QStringList names{QStringLiteral("x.JPG"), QStringLiteral("X.JPG"),
                            QStringLiteral("x.jpg"), QStringLiteral("画像.JPG")};
    for (int round = 0; round < 200; ++round) {
        Rows rows;
        const int n = int(rng.bounded(40));
        for (int i = 0; i < n; ++i)
            rows.add(qint64(rng.bounded(4)) - 1, rng.bounded(2) ? R : T,
                     dirs[int(rng.bounded(dirs.size()))], names[int(rng.bounded(names.size()))]);
        // The label order is the kind order: 参照 (U+53C2) before 対象 (U+5BFE).
        const auto key = [](const FileEntry& e) {
            return std::make_tuple(e.size, kindLabel(e.kind).toStdU16String(),
                                   e.dir.text().toStdU16String(), e.name.toStdU16String());
        };
        std::vector<FileEntry> sorted = rows.rows;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const FileEntry& a, const FileEntry& b) { return key(a) < key(b); });
        const QStringList expected = Rows{sorted}.rendered();
        test::RecordingProgress progress;
        SizeSort(rows.rows, progress);
        QVERIFY2(rows.rendered() == expected,
                 qPrintable(QStringLiteral("seed %1 round %2").arg(seed).arg(round)));
    }
}

QTEST_APPLESS_MAIN(TstSizeSort)
#include "tst_sizesort.moc"
