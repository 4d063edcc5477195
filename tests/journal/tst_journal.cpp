// The change journal: rows come back as written, whatever the paths hold; a
// row is in the file before its operation starts; a cut or damaged file
// still gives the rows before the damage; pending rows are settled from the
// disk; the folder keeps the newest runs and marks undone ones.
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/failure.h"
#include "core/paths.h"
#include "files.h"
#include "journal/heldjournal.h"
#include "journal/journalescape.h"
#include "journal/journalfiles.h"
#include "journal/journalformat.h"
#include "journal/journalreader.h"
#include "journal/journalrecovery.h"
#include "journal/journalrow.h"
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
    r.oldPath = rooted(oldPath);
    r.newPath = rooted(newPath);
    r.keptPath = rooted(keptPath);
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
         Status(makeFailure(76))},
        {row(JournalOp::Move, QStringLiteral("/p/line\nbreak\r.jpg"), QStringLiteral("/d/x\x7f")),
         std::nullopt},
        {row(JournalOp::Rename, QStringLiteral("/p/a.jpg"), QStringLiteral("/p/GAZOU00001.jpg")),
         Status(Failure{-2147483647 - 1, {}, {}})},
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

FileSystem& fs() {
    return systemFileSystem();
}

// A finished journal of awkwardRows() in folder; its path.
QString writeAwkwardJournal(const QString& folder, JournalKind kind, const QString& number = {}) {
    Result<std::unique_ptr<JournalWriter>> writer =
        JournalWriter::open(JournalFolder(fs(), folder), kind, number);
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
        // Permission bits are POSIX's; Windows gives the user's own access list.
        if (kHostPathStyle == PathStyle::Posix) {
            QCOMPARE(modeOf(folder), 0700);
            QCOMPARE(modeOf(path), 0600);
        }
        QVERIFY(nameOf(path).endsWith(QStringLiteral("-number-00001.tsv")));
        QVERIFY(nameOf(path).startsWith(QStringLiteral("00000001-")));
        const QByteArray bytes = readFile(path);
        QVERIFY(
            bytes.startsWith("time\toperation\told path\tnew path\tkept file\tsize\tdevice\t"
                             "inode\tmtime ns\toutcome\n"));
        QVERIFY(bytes.contains('\t' + rooted(QStringLiteral("/p/")).toUtf8() +
                               "tab\\there\\\\and\\\\back\t\t\t"));
        QVERIFY(bytes.contains("2024-05-01T"));

        const Result<JournalRun> run = readJournal(fs(), path);
        QVERIFY(run);
        QCOMPARE(run->kind, JournalKind::Number);
        QCOMPARE(run->firstNumber, QStringLiteral("00001"));
        QVERIFY(!run->undone);
        QCOMPARE(describe(run->rows), describe(expectedRows()));

        // Two runs in a row never share a file, and each comes after the
        // last, whatever the clock says.
        const QString second = writeAwkwardJournal(folder, JournalKind::Remove);
        const QString third = writeAwkwardJournal(folder, JournalKind::Remove);
        QVERIFY(!second.isEmpty() && !third.isEmpty() && second != third);
        QCOMPARE(parseJournalName(nameOf(third))->sequence, 3u);
    }

    void aRowIsInTheFileBeforeItsOperation() {
        QTemporaryDir dir;
        Result<std::unique_ptr<JournalWriter>> writer =
            JournalWriter::open(JournalFolder(fs(), dir.path()), JournalKind::Remove);
        QVERIFY(writer);
        JournalWriter& w = *writer.value();
        // Locked while written: no other process settles or undoes the run.
        QVERIFY(!freeForOthers(w.path()));
        QCOMPARE(HeldJournal::open(fs(), w.path()).failure().code, code::PermissionDenied);
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        JournalRow r = row(JournalOp::Delete, QStringLiteral("/p/a.jpg"), {});
        r.timeMs = 0;  // now
        const qint64 handle = w.begin(r);

        // Read through a file of its own, as after a killed process: the
        // row is there, pending, with the unused rest of the file behind it.
        Result<JournalRun> seen = readJournal(fs(), w.path());
        QVERIFY(seen);
        QCOMPARE(seen->rows.size(), std::size_t(1));
        QCOMPARE(seen->rows[0].state, JournalState::Pending);
        QVERIFY(seen->rows[0].timeMs >= before);
        QVERIFY(seen->rows[0].timeMs <= QDateTime::currentMSecsSinceEpoch());
        w.end(handle, Status(makeFailure(53)));
        seen = readJournal(fs(), w.path());
        QVERIFY(seen);
        QCOMPARE(seen->rows[0].state, JournalState::Failed);
        QCOMPARE(seen->rows[0].code, 53);

        QVERIFY(w.finish());
        QCOMPARE(readFile(w.path()).count('\n'), 2);   // cut after the last row
        QVERIFY(w.begin(r) == JournalWriter::kNoRow);  // nothing after the end
        QVERIFY(freeForOthers(w.path()));
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

    // Runs are ordered by their sequence, never by the clock; undos keep
    // places of their own, so the newest runs stay undoable however often
    // they were taken back.
    void pruningKeepsTheNewest_data() {
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("undos");  // one after every run, as long as there are any
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("clockStep");  // ms from one run's start to the next
        QTest::newRow("105 runs") << 105 << 0 << 100 << 1;
        QTest::newRow("fewer than kept") << 7 << 0 << 100 << 1;
        QTest::newRow("keep none") << 3 << 0 << 0 << 1;
        QTest::newRow("clock set back after each run") << 105 << 0 << 100 << -86400000;
        QTest::newRow("100 runs, each undone") << 100 << 100 << 100 << 1;
        QTest::newRow("undos beyond those kept") << 10 << 10 << 5 << 1;
    }

    void pruningKeepsTheNewest() {
        QFETCH(int, runs);
        QFETCH(int, undos);
        QFETCH(int, keep);
        QFETCH(int, clockStep);
        QTemporaryDir dir;
        QDateTime clock = QDateTime::fromMSecsSinceEpoch(kSomeMs, Qt::UTC);
        QStringList runsNewestFirst, undosNewestFirst;
        // Names of an earlier version, without a sequence, come before all.
        const QString old = journalFileName({0, clock, JournalKind::Remove, {}, 2, false});
        writeFile(dir.filePath(old), "");
        quint64 sequence = 0;
        for (int i = 0; i < runs; ++i) {
            const JournalName run{++sequence, clock, JournalKind(i % 2), QStringLiteral("00001"), 1,
                                  i % 5 == 0};
            runsNewestFirst.prepend(dir.filePath(journalFileName(run)));
            writeFile(runsNewestFirst.first(), "");
            if (i < undos) {
                const JournalName undo{++sequence, clock, JournalKind::Undo, {}, 1, false};
                undosNewestFirst.prepend(dir.filePath(journalFileName(undo)));
                writeFile(undosNewestFirst.first(), "");
            }
            clock = clock.addMSecs(clockStep);
        }
        runsNewestFirst << dir.filePath(old);
        writeFile(dir.filePath(QStringLiteral("notes.tsv")), "not a journal");

        const JournalFolder folder(fs(), dir.path());
        QCOMPARE(folder.nextSequence(), sequence + 1);
        QVERIFY(folder.prune(keep));
        QStringList runsLeft, undosLeft;
        for (const JournalEntry& e : folder.list())
            (e.name.kind == JournalKind::Undo ? undosLeft : runsLeft) << e.path;
        QCOMPARE(runsLeft, runsNewestFirst.first(std::min<qsizetype>(runs + 1, keep)));
        QCOMPARE(undosLeft, undosNewestFirst.first(std::min(undos, keep)));
        QVERIFY(exists(dir.filePath(QStringLiteral("notes.tsv"))));
    }

    void namesComeBack_data() {
        QTest::addColumn<quint64>("sequence");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("counter");
        QTest::addColumn<bool>("undone");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("remove") << quint64(41) << int(JournalKind::Remove) << QString() << 1
                                << false
                                << QStringLiteral("00000041-20240501-044512-345-remove.tsv");
        QTest::newRow("number") << quint64(123456789) << int(JournalKind::Number)
                                << QStringLiteral("00001") << 1 << false
                                << QStringLiteral("123456789-20240501-044512-345-number-00001.tsv");
        QTest::newRow("undo") << quint64(2) << int(JournalKind::Undo) << QString() << 1 << false
                              << QStringLiteral("00000002-20240501-044512-345-undo.tsv");
        QTest::newRow("earlier version: odd number, counted, undone")
            << quint64(0) << int(JournalKind::Number) << QStringLiteral("1-2_%\u00e9.") << 3 << true
            << QStringLiteral("20240501-044512-345-number-1%2D2%5F%25%C3%A9%2E_3-undone.tsv");
        QTest::newRow("earlier version: undo")
            << quint64(0) << int(JournalKind::Undo) << QString() << 12 << false
            << QStringLiteral("20240501-044512-345-undo_12.tsv");
    }

    void namesComeBack() {
        QFETCH(quint64, sequence);
        QFETCH(int, kind);
        QFETCH(QString, number);
        QFETCH(int, counter);
        QFETCH(bool, undone);
        QFETCH(QString, fileName);
        const JournalName name{sequence,          QDateTime::fromMSecsSinceEpoch(kSomeMs, Qt::UTC),
                               JournalKind(kind), number,
                               counter,           undone};
        QCOMPARE(journalFileName(name), fileName);
        const std::optional<JournalName> back = parseJournalName(fileName);
        QVERIFY(back);
        QCOMPARE(back->sequence, sequence);
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
        QVERIFY(markUndone(fs(), path));
        const std::vector<JournalEntry> files = JournalFolder(fs(), dir.path()).list();
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0].path, path.chopped(4) + QStringLiteral("-undone.tsv"));
        const Result<JournalRun> run = readJournal(fs(), files[0].path);
        QVERIFY(run && run->undone);
        QCOMPARE(describe(run->rows), describe(expectedRows()));
        QVERIFY(markUndone(fs(), files[0].path));  // already undone: stays
        QVERIFY(exists(files[0].path));
        QCOMPARE(markUndone(fs(), path).failure().code, 53);
        QCOMPARE(markUndone(fs(), dir.filePath(QStringLiteral("notes.tsv"))).failure().code, 52);
    }

    // An edited row must not lead an undo anywhere its run never went.
    void rowsThatLeadElsewhereAreRefused_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("read");
        QTest::newRow("plain") << QByteArray("/pics/files/x.jpg") << true;
        QTest::newRow("dot-dot") << QByteArray("/pics/files/../files/x.jpg") << false;
        QTest::newRow("dot") << QByteArray("/pics/./files/x.jpg") << false;
        QTest::newRow("relative") << QByteArray("pics/files/x.jpg") << false;
        QTest::newRow("dots in a name") << QByteArray("/pics/..x/x..jpg") << true;
    }

    void rowsThatLeadElsewhereAreRefused() {
        QFETCH(QByteArray, path);
        QFETCH(bool, read);
        path = rooted(QString::fromUtf8(path)).toUtf8();
        const QByteArray root = rooted(QStringLiteral("/")).toUtf8();
        const QByteArray line = "2024-05-01T13:45:12.345+09:00\ttrash\t" + root + "a/x.jpg\t" +
                                path + "\t\t1\t2\t3\t4\tdone              ";
        QCOMPARE(bool(parseRow(line)), read);
        const QByteArray asOld = "2024-05-01T13:45:12.345+09:00\trename\t" + path + '\t' + root +
                                 "a/y.jpg\t\t1\t2\t3\t4\tdone";
        QCOMPARE(bool(parseRow(asOld)), read);
    }

    // A run killed in the middle of an operation: the next command settles
    // its pending row from the disk, writes the decision into the journal,
    // cuts what the killed writer left and hands on what did not happen.
    void aKilledRunIsSettledOnce_data() {
        QTest::addColumn<bool>("acted");
        QTest::newRow("killed before its rename") << false;
        QTest::newRow("killed after its rename") << true;
    }

    void aKilledRunIsSettledOnce() {
        QFETCH(bool, acted);
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("a.jpg"));
        const QString to = dir.filePath(QStringLiteral("b.jpg"));
        writeFile(from, "photo");
        const JournalFolder folder(fs(), dir.filePath(QStringLiteral("journal")));
        // What a writer killed in the middle of the rename leaves: its row
        // pending, and the rest of the file's room still NULs.
        JournalRow r = row(JournalOp::Rename, from, to);
        r.before = fs().info(from).value();
        const RowPaths paths = encodeRowPaths(r);
        QByteArray line(maxRowBytes(paths), '\0');
        LocalTimeText time;
        qsizetype outcomeAt = 0;
        line.truncate(writeRow(r, kSomeMs, paths, time, line.data(), &outcomeAt) - line.data());
        QVERIFY(folder.make());
        const QString path =
            folder.path() + QLatin1Char('/') +
            journalFileName(
                {1, QDateTime::currentDateTimeUtc(), JournalKind::Number, {}, 1, false});
        writeFile(path, QByteArray(kJournalHeader.data(), kJournalHeader.size()) + line +
                            QByteArray(4096, '\0'));
        if (acted) QVERIFY(fs().rename(from, to));
        std::vector<JournalRow> failed;
        for (int pass = 0; pass < 2; ++pass)
            recoverJournals(folder, [&](const JournalRow& r) { failed.push_back(r); });
        QCOMPARE(int(failed.size()), acted ? 0 : 1);
        const QByteArray after = readFile(path);
        QVERIFY(after.endsWith('\n'));
        const Result<JournalRun> run = readJournal(fs(), path);
        QCOMPARE(run->rows.size(), std::size_t(1));
        QCOMPARE(run->rows[0].state, acted ? JournalState::Done : JournalState::Failed);
    }
};

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
