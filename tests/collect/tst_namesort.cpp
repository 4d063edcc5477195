// The name sort: its order (folder, name, kind by UTF-16 code unit), its gap
// sequence, and a randomised check against std::sort.
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <set>
#include <tuple>

#include "collect/filetable.h"
#include "collect/gapsort.h"
#include "collect/namesort.h"
#include "recordingprogress.h"

using namespace quillo;
using namespace quillo::test;

namespace {

void sortTable(FileTable& t, Progress& p) {
    FileSort(t.entries, p);
}

// "dir|name|kind|size" per entry, in table order.
QStringList rows(const FileTable& t) {
    QStringList out;
    for (const FileEntry& e : t.entries)
        out << e.dir + u'|' + e.name + u'|' + kindLabel(e.kind) + u'|' + QString::number(e.size);
    return out;
}

// The blinks of one run: one per forward step, n - gap per pass.
qint64 expectedBlinks(qint64 n, const QList<qint64>& gaps) {
    qint64 sum = 0;
    for (qint64 g : gaps) sum += n - g;
    return sum;
}

}  // namespace

class TstNameSort : public QObject {
    Q_OBJECT
  private slots:
    void orderByCodeUnit() {
        FileTable t;
        t.append({QStringLiteral("/p/A/"), QStringLiteral("x.jpg"), 1, FileKind::Target, {}});
        t.append({QStringLiteral("/p/Ab/"), QStringLiteral("x.jpg"), 2, FileKind::Target, {}});
        t.append({QStringLiteral("/p/AB/"), QStringLiteral("x.jpg"), 3, FileKind::Target, {}});
        t.append({QStringLiteral("/p/A1/"), QStringLiteral("x.jpg"), 4, FileKind::Target, {}});
        t.append({QStringLiteral("/p/A/"), QStringLiteral("b.jpg"), 5, FileKind::Target, {}});
        t.append({QStringLiteral("/p/A/"), QStringLiteral("B.JPG"), 6, FileKind::Target, {}});
        t.append({QStringLiteral("/p/A/"), QStringLiteral("b.jpg"), 7, FileKind::Refer, {}});
        // A character beyond the basic plane sorts by its first code unit (0xD83D),
        // before U+FF01, though its code point is larger.
        t.append({QStringLiteral("/q/！/"), QStringLiteral("n.jpg"), 8, FileKind::Target, {}});
        t.append({QStringLiteral("/q/😀/"), QStringLiteral("n.jpg"), 9, FileKind::Target, {}});
        RecordingProgress p;
        sortTable(t, p);
        QCOMPARE(rows(t), QStringList({
                              QStringLiteral("/p/A/|B.JPG|対象|6"),
                              QStringLiteral("/p/A/|b.jpg|参照|7"),
                              QStringLiteral("/p/A/|b.jpg|対象|5"),
                              QStringLiteral("/p/A/|x.jpg|対象|1"),
                              QStringLiteral("/p/A1/|x.jpg|対象|4"),
                              QStringLiteral("/p/AB/|x.jpg|対象|3"),
                              QStringLiteral("/p/Ab/|x.jpg|対象|2"),
                              QStringLiteral("/q/😀/|n.jpg|対象|9"),
                              QStringLiteral("/q/！/|n.jpg|対象|8"),
                          }));
        // With the separator "/" (47) digits and letters sort after it: /A/ first.
    }

    void smallTablesAndOrderedInput() {
        RecordingProgress p;
        FileTable empty;
        sortTable(empty, p);
        FileTable one;
        one.append({QStringLiteral("/a/"), QStringLiteral("z.jpg"), 1, FileKind::Target, {}});
        sortTable(one, p);
        QCOMPARE(p.blinks, 0);
        QCOMPARE(one.entries[0].name, QStringLiteral("z.jpg"));

        FileTable two;
        two.append({QStringLiteral("/a/"), QStringLiteral("z.jpg"), 1, FileKind::Target, {}});
        two.append({QStringLiteral("/a/"), QStringLiteral("あ.jpg"), 2, FileKind::Refer, {}});
        two.append({QStringLiteral("/a/"), QStringLiteral("y.jpg"), 3, FileKind::Target, {}});
        sortTable(two, p);
        QCOMPARE(rows(two), QStringList({QStringLiteral("/a/|y.jpg|対象|3"),
                                         QStringLiteral("/a/|z.jpg|対象|1"),
                                         QStringLiteral("/a/|あ.jpg|参照|2")}));
        const QStringList before = rows(two);
        sortTable(two, p);
        QCOMPARE(rows(two), before);
    }

    void gapSequence() {
        // n = 10: gaps 5, 3, 2, 1.
        for (const auto& [n, gaps] :
             {std::pair<qint64, QList<qint64>>{10, {5, 3, 2, 1}},
              {2, {1}},
              {1000, {500, 333, 250, 166, 111, 71, 47, 31, 20, 13, 9, 6, 4, 2, 1}}}) {
            FileTable t;
            for (qint64 i = 0; i < n; ++i)
                t.append({QStringLiteral("/d/"), QString::number(n - i), i, FileKind::Target, {}});
            RecordingProgress p;
            sortTable(t, p);
            QCOMPARE(p.blinks, expectedBlinks(n, gaps));
        }
        // A full table of 52000 makes 25 passes, the first with gap 26000 and the
        // last five with gaps 8, 5, 3, 2, 1: read the gap of each forward step.
        QList<std::int64_t> gaps;
        gapSort(
            52000,
            [&](std::int64_t a, std::int64_t b) {
                if (gaps.isEmpty() || gaps.last() != b - a) gaps << b - a;
                return true;
            },
            [](std::int64_t, std::int64_t) {}, [] { return true; });
        QCOMPARE(gaps.size(), 25);
        QCOMPARE(gaps.first(), 26000);
        QCOMPARE(gaps.mid(gaps.size() - 5), QList<std::int64_t>({8, 5, 3, 2, 1}));
        QCOMPARE(nextDivisor(3), 4);    // 4.5 to even
        QCOMPARE(nextDivisor(9), 14);   // 13.5 to even
        QCOMPARE(nextDivisor(21), 32);  // 31.5 to even
    }

    void matchesStdSortOnRandomTables() {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        const QList<QString> pieces = {
            QStringLiteral("A"),  QStringLiteral("a"),   QStringLiteral("B"),  QStringLiteral("1"),
            QStringLiteral("/"),  QStringLiteral("写"),  QStringLiteral("真"), QStringLiteral("😀"),
            QStringLiteral("！"), QStringLiteral(".jpg")};
        const auto text = [&](int maxPieces) {
            QString s;
            const int k = int(rng.bounded(maxPieces + 1));
            for (int i = 0; i < k; ++i) s += pieces[int(rng.bounded(int(pieces.size())))];
            return s;
        };
        for (int round = 0; round < 300; ++round) {
            const int n = int(rng.bounded(400));
            using Key = std::tuple<QString, QString, FileKind>;
            std::set<Key> seen;
            FileTable t;
            std::vector<std::pair<Key, qint64>> expected;
            while (t.FileCount() < n) {
                Key k{QLatin1Char('/') + text(3) + QLatin1Char('/'), text(3),
                      rng.bounded(2) ? FileKind::Refer : FileKind::Target};
                if (!seen.insert(k).second) continue;
                const qint64 size = t.FileCount() + 1;
                t.append({std::get<0>(k), std::get<1>(k), size, std::get<2>(k), {}});
                expected.emplace_back(k, size);
            }
            std::sort(expected.begin(), expected.end());
            RecordingProgress p;
            sortTable(t, p);
            bool same = true;
            for (int i = 0; i < n && same; ++i) {
                const auto& [k, size] = expected[size_t(i)];
                const FileEntry& e = t.entries[size_t(i)];
                same = e.dir == std::get<0>(k) && e.name == std::get<1>(k) &&
                       e.kind == std::get<2>(k) && e.size == size;
            }
            QVERIFY2(
                same,
                qPrintable(QStringLiteral("seed %1, round %2, n %3").arg(seed).arg(round).arg(n)));
        }
    }
};

QTEST_APPLESS_MAIN(TstNameSort)
#include "tst_namesort.moc"
