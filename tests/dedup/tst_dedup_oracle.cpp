// Random small corpora run through the real command and through a plain model
// of the pair loop (whole-file reads, no memo, no chunks): the same files must
// survive, with the same count, messages and questions in the same order.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>
#include <tuple>

#include "dedup/duplicatepass.h"
#include "files.h"
#include "platform/failure.h"
#include "recordingprogress.h"
#include "scriptedmessagebox.h"

using namespace quillo;

namespace {

struct Row {
    QString dir, name;
    qint64 size;
    QString kind;
};

struct Corpus {
    QTemporaryDir dir;
    FileTable table;
    DedupOptions options;
    QList<Answer> script;
    QStringList written;  // paths of the files that exist before the pass
};

// What the model expects a pass to leave behind.
struct Outcome {
    QStringList events, questions;
    qint32 dupCount = 0;
    QSet<QString> removed;
    QMap<QString, QByteArray> deleteFolder;  // name -> content
    QStringList rows;
};

QString render(const Row& r) {
    return QStringLiteral("%1|%2|%3|%4").arg(r.size).arg(r.kind, r.dir, r.name);
}

void build(Corpus& c, QRandomGenerator& rng) {
    const QString root = c.dir.path() + QLatin1Char('/');
    const QStringList refs{QStringLiteral("ref/"), QStringLiteral("ref/子/")};
    const QStringList sels{QStringLiteral("sel/"), QStringLiteral("sel/a/"),
                           QStringLiteral("sel/写真/")};
    const QStringList names{QStringLiteral("A.JPG"),  QStringLiteral("a.JPG"),
                            QStringLiteral("b.JPG"),  QStringLiteral("写真.JPG"),
                            QStringLiteral("Ｂ.JPG"), QStringLiteral("x.jpg")};
    const auto pick = [&](const QStringList& l) { return l[int(rng.bounded(l.size()))]; };
    QSet<QString> used;
    const int n = 2 + int(rng.bounded(13));
    for (int k = 0; k < n; ++k) {
        const bool refer = rng.bounded(100) < 30;
        const QString dir = root + pick(refer ? refs : sels);
        const QString name = pick(names);
        const QString path = dir + name;
        if (used.contains(path)) continue;
        used.insert(path);
        qint64 size = 0;
        if (!c.written.isEmpty() && rng.bounded(100) < 8) {
            // Another name for a file already written.
            const QString other = pick(c.written);
            QDir().mkpath(dir);
            QVERIFY(::link(qPrintable(other), qPrintable(path)) == 0);
            size = QFileInfo(other).size();
            c.written << path;
        } else {
            QByteArray bytes;
            const int length = int(rng.bounded(4));
            for (int b = 0; b < length; ++b) bytes += rng.bounded(2) ? 'a' : 'b';
            size = bytes.size();
            if (rng.bounded(100) < 8) {
                QDir().mkpath(dir);  // collected, then deleted by someone else
            } else {
                test::writeFile(path, bytes);
                c.written << path;
            }
        }
        if (rng.bounded(100) < 8) size = std::max<qint64>(0, size + (rng.bounded(2) ? 1 : -1));
        c.table.append(dir, name, size, refer ? kKindRefer : kKindTarget);
    }
    c.options.chkDelete = int(rng.bounded(3));
    c.options.deleteFolder = root + QStringLiteral("削除");
    if (rng.bounded(100) < 85) {
        QDir().mkpath(c.options.deleteFolder);
        for (int k = int(rng.bounded(3)); k > 0; --k)
            test::writeFile(c.options.deleteFolder + QLatin1Char('/') + pick(names), "zz");
    }
    for (int k = 0; k < 30; ++k) c.script << (rng.bounded(100) < 85 ? Answer::Yes : Answer::No);
}

QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        out.insert(name, test::readFile(folder + QLatin1Char('/') + name));
    return out;
}

std::optional<ino_t> inodeOf(const QString& path) {
    struct stat st;
    if (::stat(qPrintable(path), &st) != 0) return std::nullopt;
    return st.st_ino;
}

// The pair loop as plainly as it can be written.
Outcome model(const Corpus& c) {
    Outcome out;
    std::vector<Row> rows;
    for (qint32 i = 1; i <= c.table.FileCount; ++i) {
        const auto x = size_t(i);
        rows.push_back(
            {c.table.FileDir[x], c.table.FileName[x], c.table.FileSize[x], c.table.FileKind[x]});
    }
    const auto key = [](const Row& r) {
        return std::make_tuple(r.size, r.kind.toStdU16String(), r.dir.toStdU16String(),
                               r.name.toStdU16String());
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const Row& a, const Row& b) { return key(a) < key(b); });
    const int n = int(rows.size());
    if (n < 2) {
        // Nothing happens at all: the count keeps the caller's value.
        out.dupCount = -1;
        for (const Row& r : rows) out.rows << render(r);
        out.deleteFolder = folderContents(c.options.deleteFolder);
        return out;
    }
    const bool folderExists = QFileInfo(c.options.deleteFolder).isDir();
    out.deleteFolder = folderContents(c.options.deleteFolder);
    QList<Answer> script = c.script;
    const QString goOn = QStringLiteral("\r処理を続けますか？");
    const auto read = [&](const QString& path) -> std::optional<QByteArray> {
        QFile f(path);
        if (out.removed.contains(path) || !f.open(QIODevice::ReadOnly)) return std::nullopt;
        return f.readAll();
    };

    out.events << QStringLiteral("enabled:2=0")
               << QStringLiteral("message:並び替えています、しばらくお待ち下さい")
               << QStringLiteral("message:解析しています、しばらくお待ち下さい");
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            Row& a = rows[size_t(i)];
            Row& b = rows[size_t(j)];
            if (a.size != b.size || a.name.isEmpty()) break;
            if (b.name.isEmpty() || b.kind == kKindRefer) continue;
            const QString p1 = a.dir + a.name, p2 = b.dir + b.name;
            int failure = 0;
            const auto one = read(p1);
            const auto two = one ? read(p2) : std::nullopt;
            if (!one || !two) {
                failure = code::FileNotFound;
            } else if (one->size() == b.size && *one == *two && inodeOf(p1) != inodeOf(p2)) {
                if (c.options.chkDelete == 1 && !folderExists)
                    failure = code::PathNotFound;
                else if (c.options.chkDelete == 1 && out.deleteFolder.contains(b.name))
                    failure = code::FileExists;
                if (!failure) {
                    if (c.options.chkDelete == 1) out.deleteFolder.insert(b.name, *two);
                    out.removed.insert(p2);
                    ++out.dupCount;
                    b.dir.clear();
                    b.name.clear();
                }
            }
            if (!failure) continue;
            out.questions << (failure == code::FileNotFound
                                  ? p1 + QStringLiteral(" が見つかりません")
                              : failure == code::FileExists
                                  ? p1 + QStringLiteral(" ファイルが重複しています")
                                  : QString::number(failure) + describeFailure(failure)) +
                                 goOn;
            if (!script.isEmpty() && script.takeFirst() == Answer::No) {
                out.events << QStringLiteral("clear") << QStringLiteral("black")
                           << QStringLiteral("message:強制終了しました")
                           << QStringLiteral("enabled:2=1");
                for (const Row& r : rows) out.rows << render(r);
                return out;
            }
        }
        out.events << QStringLiteral("count:(%1/%2)").arg(i + 1).arg(n);
    }
    out.events << QStringLiteral("save") << QStringLiteral("clear") << QStringLiteral("black");
    out.events << QStringLiteral("message:") +
                      (out.dupCount == 0 ? QStringLiteral("重複ファイルは有りませんでした")
                       : c.options.chkDelete == 1
                           ? QString::number(out.dupCount) + QStringLiteral("件、移動しました")
                           : QString::number(out.dupCount) + QStringLiteral("件、削除しました"));
    out.events << QStringLiteral("enabled:2=1");
    for (const Row& r : rows) out.rows << render(r);
    return out;
}

}  // namespace

class TestDedupOracle : public QObject {
    Q_OBJECT
  private slots:
    void randomCorporaMatchThePlainModel();
};

void TestDedupOracle::randomCorporaMatchThePlainModel() {
    bool fixed = false;
    const quint32 seed = quint32(qEnvironmentVariableIntValue("QUILLO_SEED", &fixed));
    const quint32 used = fixed ? seed : QRandomGenerator::global()->generate();
    QRandomGenerator rng(used);
    int removedSeen = 0, questionsSeen = 0;
    for (int round = 0; round < 200; ++round) {
        const QString where =
            QStringLiteral("seed %1 (QUILLO_SEED), round %2: ").arg(used).arg(round);
        Corpus c;
        build(c, rng);
        if (QTest::currentTestFailed()) QFAIL(qPrintable(where + QStringLiteral("fixture")));
        const Outcome expected = model(c);

        FileTable table = c.table;
        test::RecordingProgress progress;
        test::ScriptedMessageBox box;
        box.script = c.script;
        qint32 dupCount = -1;
        runDuplicateRemoval(table, c.options, dupCount, progress, box, systemFileSystem());

        QVERIFY2(
            dupCount == expected.dupCount,
            qPrintable(where +
                       QStringLiteral("count %1, model %2").arg(dupCount).arg(expected.dupCount)));
        QVERIFY2(
            box.texts == expected.questions,
            qPrintable(where + QStringLiteral("questions\n%1\nmodel\n%2")
                                   .arg(box.texts.join(u'\n'), expected.questions.join(u'\n'))));
        QVERIFY2(
            progress.events == expected.events,
            qPrintable(where + QStringLiteral("events\n%1\nmodel\n%2")
                                   .arg(progress.events.join(u'\n'), expected.events.join(u'\n'))));
        for (const QString& path : c.written)
            QVERIFY2(test::exists(path) == !expected.removed.contains(path),
                     qPrintable(where + path));
        QVERIFY2(folderContents(c.options.deleteFolder) == expected.deleteFolder,
                 qPrintable(where + QStringLiteral("delete folder")));
        QStringList rows;
        for (qint32 i = 1; i <= table.FileCount; ++i) {
            const auto x = size_t(i);
            rows << render(
                {table.FileDir[x], table.FileName[x], table.FileSize[x], table.FileKind[x]});
        }
        QVERIFY2(rows == expected.rows,
                 qPrintable(where + QStringLiteral("table\n") + rows.join(u'\n')));
        removedSeen += int(expected.removed.size());
        questionsSeen += int(expected.questions.size());
    }
    // The corpora must exercise both removals and questions to mean anything.
    QVERIFY2(removedSeen > 100 && questionsSeen > 50,
             qPrintable(QStringLiteral("seed %1: %2 removals, %3 questions")
                            .arg(used)
                            .arg(removedSeen)
                            .arg(questionsSeen)));
    qInfo("seed %u: %d removals, %d questions", used, removedSeen, questionsSeen);
}

QTEST_GUILESS_MAIN(TestDedupOracle)
#include "tst_dedup_oracle.moc"
