// The settings file on disk: replaced atomically and never half-written, read at
// start-up with the defaults for anything missing or faulty, and kept where it
// can be written.
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "app/settings.h"
#include "core/paths.h"
#include "files.h"
#include "platform/userfolders.h"
#include "recordingtarget.h"

using namespace quillo;
using namespace quillo::test;

namespace {

SettingsValues someValues() {
    SettingsValues v;
    v.check(SettingsCheck::JpegJpg) = v.check(SettingsCheck::Refer) = CheckValue::On;
    for (QString& f : v.folders) f = QStringLiteral("/写真/新しい");
    v.name = QStringLiteral("GAZOU");
    v.number = QStringLiteral("00042");
    v.extents = {QStringLiteral(".JPG"), QStringLiteral(".GIF")};
    v.top = 1200;
    v.left = -30;
    return v;
}

// Makes a folder immutable, so that nothing can be created in it even by root;
// undone when the guard goes.
class Immutable {
  public:
    explicit Immutable(const QString& folder) : m_folder(folder) {
        m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
    }
    ~Immutable() {
        if (m_ok) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
    }
    bool ok() const { return m_ok; }

  private:
    QString m_folder;
    bool m_ok = false;
};

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QStringList startUpCalls(const QString& path) {
    RecordingTarget t;
    readSettingsAtStartUp(path, t);
    return t.calls;
}

}  // namespace

class TstSettingsFile : public QObject {
    Q_OBJECT
  private slots:
    void writesAreWholeAndRepeatable() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Quillo.INI"));
        QVERIFY(writeSettingsFile(path, someValues()));
        const QByteArray first = readFile(path);
        QCOMPARE(first, encodeSettings(someValues()));
        // Quit writes twice; the second write gives the same bytes.
        QVERIFY(writeSettingsFile(path, someValues()));
        QCOMPARE(readFile(path), first);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("Quillo.INI")});

        // What was written is what start-up reads.
        RecordingTarget t;
        readSettingsAtStartUp(path, t);
        QCOMPARE(t.values.folder(SettingsFolder::Select), QStringLiteral("/写真/新しい"));
        QCOMPARE(t.values.number, QStringLiteral("00042"));
        QCOMPARE(t.values.left, -30);
        QVERIFY(!t.calls.contains(QStringLiteral("chooser")));
    }

    void replacingKeepsThePermissions_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("written");
        QTest::newRow("private") << 0600 << true;
        QTest::newRow("shared") << 0664 << true;
        QTest::newRow("read-only") << 0444 << false;  // the user's choice stands, even for root
    }

    void replacingKeepsThePermissions() {
        QFETCH(int, mode);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Quillo.INI"));
        writeFile(path, "old settings");
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
        QCOMPARE(writeSettingsFile(path, someValues()), written);
        QCOMPARE(readFile(path),
                 written ? encodeSettings(someValues()) : QByteArray("old settings"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        // Windows keeps only whether the owner may write (the read-only attribute).
        const int kept = kHostPathStyle == PathStyle::Posix ? 07777 : 0200;
        QCOMPARE(int(st.st_mode) & kept, mode & kept);
    }

    void failedWritesLeaveTheOldFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plain"));
        writeFile(file, "not a folder");
        QVERIFY(!writeSettingsFile(file + QStringLiteral("/Quillo.INI"), someValues()));
        QCOMPARE(readFile(file), QByteArray("not a folder"));
        QVERIFY(
            !writeSettingsFile(dir.filePath(QStringLiteral("missing/Quillo.INI")), someValues()));
        QVERIFY(!exists(dir.filePath(QStringLiteral("missing"))));
        // A folder in the file's place.
        makeDir(dir.filePath(QStringLiteral("Quillo.INI")));
        QVERIFY(!writeSettingsFile(dir.filePath(QStringLiteral("Quillo.INI")), someValues()));

        // A folder nothing can be created in: the old file stays as it was.
        const QString locked = dir.filePath(QStringLiteral("locked"));
        const QString path = locked + QStringLiteral("/Quillo.INI");
        writeFile(path, "old settings");
        Immutable guard(locked);
        if (!guard.ok()) QSKIP("chattr +i is not available here");
        QVERIFY(!writeSettingsFile(path, someValues()));
        QCOMPARE(readFile(path), QByteArray("old settings"));
        QCOMPARE(entries(locked), QStringList{QStringLiteral("Quillo.INI")});
    }

    void startUpFallsBackToTheDefaults() {
        QTemporaryDir dir;
        const QStringList defaults = defaultCalls(QStringLiteral("/start"));
        QCOMPARE(startUpCalls(dir.filePath(QStringLiteral("none.INI"))), defaults);
        QCOMPARE(startUpCalls(dir.path()), defaults);  // a folder, not a file
        QCOMPARE(startUpCalls(QStringLiteral("/dev/zero")), defaults);

        // Binary garbage.
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes(int(random.bounded(1, 4000)), Qt::Uninitialized);
            for (char& b : bytes) b = char(random.bounded(256));
            const QString path = dir.filePath(QStringLiteral("garbage.INI"));
            writeFile(path, bytes);
            RecordingTarget direct;
            const bool loaded = LoadSettings(bytes, direct);
            const QStringList expected =
                loaded ? direct.calls : direct.calls + defaultCalls(direct.chooserAt);
            QVERIFY2(startUpCalls(path) == expected,
                     qPrintable(QStringLiteral("seed %1").arg(seed)));
        }

        // Every truncation of a good file: what was read, then defaults where the
        // file ended after a key.
        const QByteArray good = encodeSettings(someValues());
        for (qsizetype n = 0; n <= good.size(); ++n) {
            const QString path = dir.filePath(QStringLiteral("cut.INI"));
            writeFile(path, good.left(n));
            RecordingTarget direct;
            const bool loaded = LoadSettings(good.left(n), direct);
            QStringList expected = direct.calls;
            // the defaults take the folder the chooser was pointed at
            if (!loaded) expected += defaultCalls(direct.chooserAt);
            QCOMPARE(startUpCalls(path), expected);
        }

        // An enormous file is not read at all; one just below the limit is.
        QByteArray big = QByteArray(" ").repeated(1024 * 1024 - good.size()) + good;
        writeFile(dir.filePath(QStringLiteral("big.INI")), big);
        QVERIFY(startUpCalls(dir.filePath(QStringLiteral("big.INI")))
                    .contains(QStringLiteral("top 1200")));
        writeFile(dir.filePath(QStringLiteral("huge.INI")), ' ' + big);
        QCOMPARE(startUpCalls(dir.filePath(QStringLiteral("huge.INI"))), defaults);

        // A read that fails late keeps what came before, then the defaults.
        RecordingTarget direct;
        QVERIFY(LoadSettings(good, direct));
        const QByteArray firstKey = good.left(good.indexOf(','));
        writeFile(dir.filePath(QStringLiteral("bad.INI")), good + firstKey + ",x\r\n");
        QCOMPARE(startUpCalls(dir.filePath(QStringLiteral("bad.INI"))),
                 direct.calls + defaultCalls(direct.chooserAt));
    }

    void fileLivesWhereItCanBeWritten() {
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        const QString exeFolder = dir.filePath(QStringLiteral("bin"));
        makeDir(exeFolder);
        QCOMPARE(settingsFilePath(exeFolder), exeFolder + QStringLiteral("/Quillo.INI"));
        QVERIFY(entries(exeFolder).isEmpty());  // the probe is gone again
        QVERIFY(!exists(config));

        // A folder that cannot hold files sends the file to the user's configuration.
        writeFile(dir.filePath(QStringLiteral("file")), "x");
        if (kHostPathStyle == PathStyle::Windows) {
            // %APPDATA%\Quillo: the user's own, which no variable moves; not written here.
            QVERIFY(userConfigFolder().endsWith(QStringLiteral("/AppData/Roaming/Quillo"),
                                                Qt::CaseInsensitive));
            QCOMPARE(settingsFilePath(dir.filePath(QStringLiteral("file"))),
                     userConfigFolder() + QStringLiteral("/Quillo.INI"));
            return;
        }
        const QString expected = config + QStringLiteral("/Quillo/Quillo.INI");
        QCOMPARE(settingsFilePath(dir.filePath(QStringLiteral("file"))), expected);
        QVERIFY(writeSettingsFile(expected, someValues()));

        // An installed copy keeps per-user settings even in a writable folder.
        makeDir(dir.filePath(QStringLiteral("share/quillo")));
        QCOMPARE(settingsFilePath(exeFolder), expected);
        QDir(dir.filePath(QStringLiteral("share"))).removeRecursively();

        Immutable guard(exeFolder);
        if (!guard.ok()) QSKIP("chattr +i is not available here");
        QCOMPARE(settingsFilePath(exeFolder), expected);
        QVERIFY(entries(exeFolder).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstSettingsFile)
#include "tst_settingsfile.moc"
