// The change journal: rows come back as written, whatever the paths hold; a
// row is in the file before its operation starts; a cut or damaged file
// still gives the rows before the damage; pending rows are settled from the
// disk; the folder keeps the newest runs and marks undone ones.
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "files.h"
#include "journal/journalescape.h"
#include "journal/journalfiles.h"
#include "journal/journalreader.h"
#include "journal/journalsettle.h"
#include "journal/journalwriter.h"

using namespace quillo;
using namespace quillo::test;

namespace {

const qint64 kSomeMs = 1714538712345;  // 2024-05-01T04:45:12.345Z

// A row as one text, so that a mismatch shows where.
QString describe(const JournalRow& r) {
    return QStringLiteral("%1 %2 [%3] [%4] [%5] %6 %7 %8 %9 %10/%11")
        .arg(r.timeMs)
        .arg(int(r.op))
        .arg(r.oldPath, r.newPath, r.keptPath)
        .arg(r.before.size)
        .arg(r.before.device)
        .arg(r.before.inode)
        .arg(r.before.mtimeNs)
        .arg(int(r.state))
        .arg(r.code);
}

QStringList describe(const std::vector<JournalRow>& rows) {
    QStringList out;
    for (const JournalRow& r : rows) out << describe(r);
    return out;
}

JournalRow row(JournalOp op, const QString& oldPath, const QString& newPath,
               const QString& keptPath = {}) {
    JournalRow r;
    r.timeMs = kSomeMs;
    r.op = op;
    r.oldPath = oldPath;
    r.newPath = newPath;
    r.keptPath = keptPath;
    r.before.size = 1234567890123;
    r.before.device = 18446744073709551615ull;
    r.before.inode = 42;
    r.before.mtimeNs = -1;  // before the epoch
    return r;
}

// Rows with awkward paths, each ended as its outcome says.
struct Ended {
    JournalRow row;
    std::optional<Status> outcome;  // none: left pending
};

std::vector<Ended> awkwardRows() {
    return {
        {row(JournalOp::Trash, QStringLiteral("/写真/重複 1.jpg"),
             QStringLiteral("/root/.local/share/Trash/files/重複 1.jpg"),
             QStringLiteral("/写真/元.jpg")),
         Status()},
        {row(JournalOp::Delete, QStringLiteral("/p/tab\there\\and\\back"), {}),
         Status(Failure{76, {}})},
        {row(JournalOp::Move, QStringLiteral("/p/line\nbreak\r.jpg"), QStringLiteral("/d/x\x7f")),
         std::nullopt},
        {row(JournalOp::Rename, QStringLiteral("/p/a.jpg"), QStringLiteral("/p/GAZOU00001.jpg")),
         Status(Failure{-2147483647 - 1, {}})},
        {row(JournalOp::Restore, QStringLiteral("/p/\u00e9"), QStringLiteral("/p/\U0001F600")),
         Status()},
    };
}

// The rows awkwardRows() should read back as.
std::vector<JournalRow> expectedRows() {
    std::vector<JournalRow> rows;
    for (const Ended& e : awkwardRows()) {
        JournalRow r = e.row;
        r.state = !e.outcome        ? JournalState::Pending
                  : e.outcome->ok() ? JournalState::Done
                                    : JournalState::Failed;
        r.code = e.outcome && !e.outcome->ok() ? e.outcome->failure().code : 0;
        rows.push_back(r);
    }
    return rows;
}

// A finished journal of awkwardRows() in folder; its path.
QString writeAwkwardJournal(const QString& folder, JournalKind kind, const QString& number = {}) {
    Result<std::unique_ptr<JournalWriter>> writer = JournalWriter::open(folder, kind, number);
    if (!writer) return {};
    for (const Ended& e : awkwardRows()) {
        const qint64 handle = writer.value()->begin(e.row);
        if (e.outcome) writer.value()->end(handle, *e.outcome);
    }
    if (!writer.value()->finish()) return {};
    return writer.value()->path();
}

int modeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return int(st.st_mode & 07777);
}

QString nameOf(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

}  // namespace

class TstJournal : public QObject {
    Q_OBJECT
  private slots:
    void escapes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("escaped");
        QTest::newRow("plain") << QByteArray("/a/b c.jpg") << QByteArray("/a/b c.jpg");
        QTest::newRow("separators")
            << QByteArray("a\tb\nc\rd\\e") << QByteArray("a\\tb\\nc\\rd\\\\e");
        QTest::newRow("utf-8 stays") << QByteArray("\xE5\x86\x99 \xF0\x9F\x98\x80")
                                     << QByteArray("\xE5\x86\x99 \xF0\x9F\x98\x80");
        QTest::newRow("latin-1 name") << QByteArray("caf\xE9.jpg") << QByteArray("caf\\xE9.jpg");
        QTest::newRow("lone continuation") << QByteArray("\x80") << QByteArray("\\x80");
        QTest::newRow("cut sequence") << QByteArray("\xE5\x86") << QByteArray("\\xE5\\x86");
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << QByteArray("\\xC0\\xAF");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("\\xED\\xA0\\x80");
        QTest::newRow("past U+10FFFF")
            << QByteArray("\xF4\x90\x80\x80") << QByteArray("\\xF4\\x90\\x80\\x80");
        QTest::newRow("controls") << QByteArray("\x7F\x01", 2) << QByteArray("\\x7F\\x01");
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray("a\\x00b");
    }

    void escapes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, escaped);
        QCOMPARE(escapeBytes(bytes), escaped);
        QCOMPARE(unescapeBytes(escaped).value_or("refused"), bytes);
    }

    void badEscapesAreRefused_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("unknown letter") << QByteArray("a\\q");
        QTest::newRow("short hex") << QByteArray("a\\x4");
        QTest::newRow("not hex") << QByteArray("\\xZZ");
        QTest::newRow("trailing backslash") << QByteArray("abc\\");
        QTest::newRow("raw tab") << QByteArray("a\tb");
    }

    void badEscapesAreRefused() {
        QFETCH(QByteArray, field);
        QVERIFY(!unescapeBytes(field));
    }

    void rowsComeBackAsWritten() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("data/journal"));  // both missing
        const QString path =
            writeAwkwardJournal(folder, JournalKind::Number, QStringLiteral("00001"));
        QVERIFY(!path.isEmpty());
        QCOMPARE(modeOf(folder), 0700);
        QCOMPARE(modeOf(path), 0600);
        QVERIFY(nameOf(path).endsWith(QStringLiteral("-number-00001.tsv")));
        const QByteArray bytes = readFile(path);
        QVERIFY(
            bytes.startsWith("time\toperation\told path\tnew path\tkept file\tsize\tdevice\t"
                             "inode\tmtime ns\toutcome\n"));
        QVERIFY(bytes.contains("\t/p/tab\\there\\\\and\\\\back\t\t\t"));
        QVERIFY(bytes.contains("2024-05-01T"));

        const Result<JournalRun> run = readJournal(path);
        QVERIFY(run);
        QCOMPARE(run->kind, JournalKind::Number);
        QCOMPARE(run->firstNumber, QStringLiteral("00001"));
        QVERIFY(!run->undone);
        QCOMPARE(describe(run->rows), describe(expectedRows()));

        // Two runs in a row never share a file, even in the same millisecond.
        const QString second = writeAwkwardJournal(folder, JournalKind::Remove);
        const QString third = writeAwkwardJournal(folder, JournalKind::Remove);
        QVERIFY(!second.isEmpty() && !third.isEmpty() && second != third);
    }

    void aRowIsInTheFileBeforeItsOperation() {
        QTemporaryDir dir;
        Result<std::unique_ptr<JournalWriter>> writer =
            JournalWriter::open(dir.path(), JournalKind::Remove);
        QVERIFY(writer);
        JournalWriter& w = *writer.value();
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        JournalRow r = row(JournalOp::Delete, QStringLiteral("/p/a.jpg"), {});
        r.timeMs = 0;  // now
        const qint64 handle = w.begin(r);

        // Read through a file of its own, as after a killed process: the
        // row is there, pending, with the unused rest of the file behind it.
        Result<JournalRun> seen = readJournal(w.path());
        QVERIFY(seen);
        QCOMPARE(seen->rows.size(), std::size_t(1));
        QCOMPARE(seen->rows[0].state, JournalState::Pending);
        QVERIFY(seen->rows[0].timeMs >= before);
        QVERIFY(seen->rows[0].timeMs <= QDateTime::currentMSecsSinceEpoch());
        w.end(handle, Status(Failure{53, {}}));
        seen = readJournal(w.path());
        QVERIFY(seen);
        QCOMPARE(seen->rows[0].state, JournalState::Failed);
        QCOMPARE(seen->rows[0].code, 53);

        QVERIFY(w.finish());
        QCOMPARE(readFile(w.path()).count('\n'), 2);   // cut after the last row
        QVERIFY(w.begin(r) == JournalWriter::kNoRow);  // nothing after the end
    }

    void aCutFileKeepsTheRowsBeforeTheCut_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("crlf");
        QTest::newRow("cut") << QByteArray() << false;
        QTest::newRow("NULs after") << QByteArray(4096, '\0') << false;
        QTest::newRow("junk after") << QByteArray("\x01\xFFgarbage\tdone\n\n\t\t\n") << false;
        QTest::newRow("saved with CR LF") << QByteArray() << true;
    }

    void aCutFileKeepsTheRowsBeforeTheCut() {
        QFETCH(QByteArray, tail);
        QFETCH(bool, crlf);
        QTemporaryDir dir;
        const QString path = writeAwkwardJournal(dir.path(), JournalKind::Remove);
        QByteArray bytes = readFile(path);
        if (crlf) bytes.replace("\n", "\r\n");
        const QStringList all = describe(expectedRows());
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            const QByteArray kept = bytes.first(cut);
            const qsizetype whole = std::max<qsizetype>(0, kept.count('\n') - 1);
            QCOMPARE(describe(parseJournalRows(kept + tail)), all.first(whole));
        }
    }

    void pendingRowsAreSettledFromTheDisk_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("acted");
        QTest::addColumn<bool>("other");  // another file where this one would be
        QTest::addColumn<int>("state");
        QTest::newRow("renamed") << int(JournalOp::Rename) << true << false
                                 << int(JournalState::Done);
        QTest::newRow("not renamed")
            << int(JournalOp::Rename) << false << false << int(JournalState::Failed);
        QTest::newRow("another file at the new name")
            << int(JournalOp::Move) << false << true << int(JournalState::Failed);
        QTest::newRow("deleted") << int(JournalOp::Delete) << true << false
                                 << int(JournalState::Done);
        QTest::newRow("deleted, name taken again")
            << int(JournalOp::Delete) << true << true << int(JournalState::Done);
        QTest::newRow("not deleted")
            << int(JournalOp::Delete) << false << false << int(JournalState::Failed);
    }

    void pendingRowsAreSettledFromTheDisk() {
        QFETCH(int, op);
        QFETCH(bool, acted);
        QFETCH(bool, other);
        QFETCH(int, state);
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("a.jpg"));
        const QString to = dir.filePath(QStringLiteral("sub/b.jpg"));
        writeFile(from, "photo");
        makeDir(dir.filePath(QStringLiteral("sub")));
        FileSystem& fs = systemFileSystem();
        JournalRun run;
        run.rows.push_back(
            row(JournalOp(op), from, JournalOp(op) == JournalOp::Delete ? QString() : to));
        run.rows[0].before = fs.info(from).value();
        if (acted)
            QVERIFY(JournalOp(op) == JournalOp::Delete ? fs.remove(from) : fs.rename(from, to));
        // Often with the inode the deleted file had.
        if (other) writeFile(JournalOp(op) == JournalOp::Delete ? from : to, "another file");
        // A row already decided stays as it is.
        run.rows.push_back(run.rows[0]);
        run.rows[1].state = JournalState::Failed;
        run.rows[1].code = 70;

        settle(run, fs);
        QCOMPARE(int(run.rows[0].state), state);
        QCOMPARE(run.rows[0].code, 0);
        QCOMPARE(run.rows[1].state, JournalState::Failed);
        QCOMPARE(run.rows[1].code, 70);
    }

    void pruningKeepsTheNewest_data() {
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("keep");
        QTest::newRow("105 runs") << 105 << 100;
        QTest::newRow("fewer than kept") << 7 << 100;
        QTest::newRow("keep none") << 3 << 0;
    }

    void pruningKeepsTheNewest() {
        QFETCH(int, runs);
        QFETCH(int, keep);
        QTemporaryDir dir;
        const QDateTime start = QDateTime::fromMSecsSinceEpoch(kSomeMs, Qt::UTC);
        QStringList newestFirst;
        // Two runs per millisecond, told apart by the counter.
        for (int i = 0; i < runs; ++i) {
            const JournalName name{start.addMSecs(i / 2), JournalKind(i % 3),
                                   QStringLiteral("00001"), i % 2 + 1, i % 5 == 0};
            newestFirst.prepend(dir.filePath(journalFileName(name)));
            writeFile(newestFirst.first(), "");
        }
        writeFile(dir.filePath(QStringLiteral("notes.tsv")), "not a journal");

        QVERIFY(pruneJournals(dir.path(), keep));
        const std::vector<QString> left = journalFiles(dir.path());
        QCOMPARE(QStringList(left.begin(), left.end()), newestFirst.first(std::min(runs, keep)));
        QVERIFY(exists(dir.filePath(QStringLiteral("notes.tsv"))));
    }

    void namesComeBack_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("counter");
        QTest::addColumn<bool>("undone");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("remove") << int(JournalKind::Remove) << QString() << 1 << false
                                << QStringLiteral("20240501-044512-345-remove.tsv");
        QTest::newRow("number") << int(JournalKind::Number) << QStringLiteral("00001") << 1 << false
                                << QStringLiteral("20240501-044512-345-number-00001.tsv");
        QTest::newRow("odd number, counted, undone")
            << int(JournalKind::Number) << QStringLiteral("1-2_%\u00e9.") << 3 << true
            << QStringLiteral("20240501-044512-345-number-1%2D2%5F%25%C3%A9%2E_3-undone.tsv");
        QTest::newRow("undo") << int(JournalKind::Undo) << QString() << 12 << false
                              << QStringLiteral("20240501-044512-345-undo_12.tsv");
    }

    void namesComeBack() {
        QFETCH(int, kind);
        QFETCH(QString, number);
        QFETCH(int, counter);
        QFETCH(bool, undone);
        QFETCH(QString, fileName);
        const JournalName name{QDateTime::fromMSecsSinceEpoch(kSomeMs, Qt::UTC), JournalKind(kind),
                               number, counter, undone};
        QCOMPARE(journalFileName(name), fileName);
        const std::optional<JournalName> back = parseJournalName(fileName);
        QVERIFY(back);
        QCOMPARE(back->start, name.start);
        QCOMPARE(int(back->kind), kind);
        QCOMPARE(back->firstNumber, number);
        QCOMPARE(back->counter, counter);
        QCOMPARE(back->undone, undone);
    }

    void otherNamesAreNoJournals_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("other suffix") << QStringLiteral("20240501-044512-345-remove.txt");
        QTest::newRow("short stamp") << QStringLiteral("2024-remove.tsv");
        QTest::newRow("no such month") << QStringLiteral("20241301-044512-345-remove.tsv");
        QTest::newRow("unknown kind") << QStringLiteral("20240501-044512-345-delete.tsv");
        QTest::newRow("counter 1") << QStringLiteral("20240501-044512-345-remove_1.tsv");
        QTest::newRow("number of a removal") << QStringLiteral("20240501-044512-345-remove-1.tsv");
    }

    void otherNamesAreNoJournals() {
        QFETCH(QString, fileName);
        QVERIFY(!parseJournalName(fileName));
    }

    void anUndoneRunIsMarked() {
        QTemporaryDir dir;
        const QString path = writeAwkwardJournal(dir.path(), JournalKind::Remove);
        QVERIFY(markUndone(path));
        const std::vector<QString> files = journalFiles(dir.path());
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0], path.chopped(4) + QStringLiteral("-undone.tsv"));
        const Result<JournalRun> run = readJournal(files[0]);
        QVERIFY(run && run->undone);
        QCOMPARE(describe(run->rows), describe(expectedRows()));
        QVERIFY(markUndone(files[0]));  // already undone: stays
        QVERIFY(exists(files[0]));
        QCOMPARE(markUndone(path).failure().code, 53);
        QCOMPARE(markUndone(dir.filePath(QStringLiteral("notes.tsv"))).failure().code, 52);
    }
};

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
