// The size sort: key order, blink steps, and the small tables.
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <tuple>

#include "dedup/sizesort.h"
#include "recordingprogress.h"

using namespace quillo;

namespace {

struct Rows {
    std::vector<QString> File{QString()}, Item{QString()}, Flag{QString()};
    std::vector<qint64> Size{0};
    void add(qint64 size, const QString& kind, const QString& dir, const QString& name) {
        File.push_back(dir);
        Item.push_back(name);
        Size.push_back(size);
        Flag.push_back(kind);
    }
    qint32 n() const { return qint32(File.size()) - 1; }
    QStringList rendered() const {
        QStringList out;
        for (size_t i = 1; i < File.size(); ++i)
            out << QStringLiteral("%1|%2|%3%4").arg(Size[i]).arg(Flag[i], File[i], Item[i]);
        return out;
    }
};

const QString R = QStringLiteral("参照");
const QString T = QStringLiteral("対象");

}  // namespace

class TestSizeSort : public QObject {
    Q_OBJECT
  private slots:
    void smallTablesAreLeftAlone();
    void keysInTurn();
    void alreadyOrderedStillBlinksOncePerOuterStep();
    void randomTablesMatchAStableSortOfTheKeys();
};

void TestSizeSort::smallTablesAreLeftAlone() {
    test::RecordingProgress progress;
    Rows none;
    SizeSort(none.File, none.Item, none.Size, none.Flag, 0, progress);
    Rows one;
    one.add(5, T, QStringLiteral("/b/"), QStringLiteral("x.JPG"));
    SizeSort(one.File, one.Item, one.Size, one.Flag, 1, progress);
    QCOMPARE(one.rendered(), QStringList{QStringLiteral("5|対象|/b/x.JPG")});
    QCOMPARE(progress.blinks, 0);

    // Two rows out of order: one pass with gap 1, one exchange, one blink.
    Rows two;
    two.add(9, T, QStringLiteral("/a/"), QStringLiteral("y.JPG"));
    two.add(3, T, QStringLiteral("/a/"), QStringLiteral("z.JPG"));
    SizeSort(two.File, two.Item, two.Size, two.Flag, 2, progress);
    QCOMPARE(two.rendered(),
             (QStringList{QStringLiteral("3|対象|/a/z.JPG"), QStringLiteral("9|対象|/a/y.JPG")}));
    QCOMPARE(progress.blinks, 1);

    // Cells beyond n are not touched.
    Rows partial;
    partial.add(9, T, QStringLiteral("/a/"), QStringLiteral("b"));
    partial.add(1, T, QStringLiteral("/a/"), QStringLiteral("a"));
    partial.add(0, T, QStringLiteral("/a/"), QStringLiteral("c"));
    SizeSort(partial.File, partial.Item, partial.Size, partial.Flag, 2, progress);
    QCOMPARE(partial.rendered(),
             (QStringList{QStringLiteral("1|対象|/a/a"), QStringLiteral("9|対象|/a/b"),
                          QStringLiteral("0|対象|/a/c")}));
}

void TestSizeSort::keysInTurn() {
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
    SizeSort(rows.File, rows.Item, rows.Size, rows.Flag, rows.n(), progress);
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

void TestSizeSort::alreadyOrderedStillBlinksOncePerOuterStep() {
    // Gaps for n = 10: 5, 3, 2, 1; for n = 100: 50, 33, 25, 16, 11, 7, 4, 3, 2, 1.
    const struct {
        int n;
        int blinks;
    } cases[] = {{10, 5 + 7 + 8 + 9}, {100, 1000 - (50 + 33 + 25 + 16 + 11 + 7 + 4 + 3 + 2 + 1)}};
    for (const auto& c : cases) {
        Rows rows;
        for (int i = 0; i < c.n; ++i)
            rows.add(i, T, QStringLiteral("/a/"),
                     QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
        const QStringList before = rows.rendered();
        test::RecordingProgress progress;
        SizeSort(rows.File, rows.Item, rows.Size, rows.Flag, rows.n(), progress);
        QCOMPARE(rows.rendered(), before);
        QCOMPARE(progress.blinks, c.blinks);
    }
}

void TestSizeSort::randomTablesMatchAStableSortOfTheKeys() {
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
        std::vector<int> order(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) order[size_t(i)] = i + 1;
        const auto key = [&](int i) {
            const auto x = size_t(i);
            return std::make_tuple(rows.Size[x], std::u16string(rows.Flag[x].toStdU16String()),
                                   rows.File[x].toStdU16String(), rows.Item[x].toStdU16String());
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
        QStringList expected;
        for (int i : order)
            expected << QStringLiteral("%1|%2|%3%4")
                            .arg(rows.Size[size_t(i)])
                            .arg(rows.Flag[size_t(i)], rows.File[size_t(i)], rows.Item[size_t(i)]);
        test::RecordingProgress progress;
        SizeSort(rows.File, rows.Item, rows.Size, rows.Flag, rows.n(), progress);
        QVERIFY2(rows.rendered() == expected,
                 qPrintable(QStringLiteral("seed %1 round %2").arg(seed).arg(round)));
    }
}

QTEST_APPLESS_MAIN(TestSizeSort)
#include "tst_sizesort.moc"
