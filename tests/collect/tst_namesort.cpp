// The name sort: its order (folder, name, kind by UTF-16 code unit), the merge
// of sorted rows, and a randomised check against std::sort.
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <set>
#include <tuple>

#include "collect/filetable.h"
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
        out << e.dir.text() + u'|' + e.name + u'|' + kindLabel(e.kind) + u'|' +
                   QString::number(e.size);
    return out;
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
            // The first rounds are long enough for sorted blocks to be merged
            // piecewise; they come in at random, in order and in reverse.
            const int n = round < 3 ? 100000 : int(rng.bounded(400));
            using Key = std::tuple<QString, QString, FileKind>;
            std::set<Key> seen;
            FileTable t;
            std::vector<std::pair<Key, qint64>> expected;
            while (expected.size() < size_t(n)) {
                Key k{QLatin1Char('/') + text(4) + QLatin1Char('/'), text(4),
                      rng.bounded(2) ? FileKind::Refer : FileKind::Target};
                if (seen.insert(k).second) expected.emplace_back(k, qint64(expected.size()) + 1);
            }
            if (round == 1) std::sort(expected.begin(), expected.end());
            if (round == 2) std::sort(expected.rbegin(), expected.rend());
            for (const auto& [k, size] : expected)
                t.append({std::get<0>(k), std::get<1>(k), size, std::get<2>(k), {}});
            std::sort(expected.begin(), expected.end());
            RecordingProgress p;
            sortTable(t, p);
            bool same = true;
            for (int i = 0; i < n && same; ++i) {
                const auto& [k, size] = expected[size_t(i)];
                const FileEntry& e = t.entries[size_t(i)];
                same = e.dir.text() == std::get<0>(k) && e.name == std::get<1>(k) &&
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
