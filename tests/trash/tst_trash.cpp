// The trash: which trash a file goes to, the record written for it, free
// names, refused trash folders, failures and lookups, putting files back.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "core/failure.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "trash/trashcan.h"

using namespace quillo;
using namespace quillo::test;

namespace {

FileInfo infoOf(const QString& path) {
    return systemFileSystem().info(path).value();
}

// A home trash in a temporary folder, and the files to trash beside it.
struct Home {
    QTemporaryDir dir;
    QString base = QFileInfo(dir.path()).canonicalFilePath();
    TrashHome home{base + QStringLiteral("/data/share"), currentUserId()};
    QString trash = home.dataHome + QStringLiteral("/Trash");
    QString file(const QString& path) {
        writeFile(base + QLatin1Char('/') + path, "x");
        return base + QLatin1Char('/') + path;
    }
};

Result<TrashSlot> reserve(TrashCan& can, const QString& path) {
    return can.reserve(path, infoOf(path).device);
}

// The value of key in a record.
QString field(const QString& infoPath, const char* key) {
    for (const QByteArray& line : readFile(infoPath).split('\n'))
        if (line.startsWith(QByteArray(key) + '='))
            return QString::fromUtf8(line.mid(qstrlen(key) + 1));
    return {};
}

enum class Top { Nothing, Sticky, NotSticky, LinkedShared, LinkedUser, Foreign };

// Lays out the top of a file system; "elsewhere" is where its links lead.
bool prepareTop(Top setup, const QString& top, const QString& id) {
    const QString shared = top + QStringLiteral("/.Trash");
    const QString mine = top + QStringLiteral("/.Trash-") + id;
    const QString elsewhere = top + QStringLiteral("/elsewhere");
    const auto folder = [](const QString& path, mode_t mode) {
        const QByteArray name = QFile::encodeName(path);
        return ::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), mode) == 0;
    };
    bool ok = folder(elsewhere, 01777);
    if (setup == Top::Sticky) ok &= folder(shared, 01777);
    if (setup == Top::NotSticky) ok &= folder(shared, 0777);
    if (setup == Top::LinkedShared) ok &= QFile::link(elsewhere, shared);
    if (setup == Top::LinkedUser) ok &= QFile::link(elsewhere, mine);
    if (setup == Top::Foreign)
        ok &= folder(mine, 0700) && ::chown(QFile::encodeName(mine).constData(), 4242, 0) == 0;
    return ok;
}

}  // namespace

Q_DECLARE_METATYPE(Top)

class TstTrash : public QObject {
    Q_OBJECT
  private slots:
    void homeTrashIsMadeAndRecordsThePath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << QStringLiteral("a.jpg") << QStringLiteral("a.jpg");
        QTest::newRow("space, Japanese, percent")
            << QStringLiteral("写真 100%.jpg") << QStringLiteral("%E5%86%99%E7%9C%9F%20100%25.jpg");
    }
    void homeTrashIsMadeAndRecordsThePath() {
        QFETCH(QString, name);
        QFETCH(QString, escaped);
        Home h;
        const QString file = h.file(QStringLiteral("in/") + name);
        TrashCan can(systemFileSystem(), h.home);
        const Result<TrashSlot> slot = reserve(can, file);
        QVERIFY(slot);
        QCOMPARE(slot->filePath, h.trash + QStringLiteral("/files/") + name);
        QCOMPARE(slot->infoPath,
                 h.trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        QCOMPARE(infoOf(h.trash).mode, 0700u);
        QVERIFY(readFile(slot->infoPath).startsWith("[Trash Info]\n"));
        QCOMPARE(field(slot->infoPath, "Path"), h.base + QStringLiteral("/in/") + escaped);
        const QDateTime when = QDateTime::fromString(field(slot->infoPath, "DeletionDate"),
                                                     QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
        QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 60);
    }

    void takenNamesAreSkipped_data() {
        QTest::addColumn<QString>("taken");  // under the trash
        QTest::addColumn<QString>("names");
        QTest::newRow("free") << QString() << QStringLiteral("x.jpg x.jpg.2");
        QTest::newRow("in files") << QStringLiteral("files/x.jpg")
                                  << QStringLiteral("x.jpg.2 x.jpg.3");
        QTest::newRow("in info") << QStringLiteral("info/x.jpg.trashinfo info/x.jpg.2.trashinfo")
                                 << QStringLiteral("x.jpg.3 x.jpg.4");
    }
    void takenNamesAreSkipped() {
        QFETCH(QString, taken);
        QFETCH(QString, names);
        Home h;
        for (const QString& path : taken.split(u' ', Qt::SkipEmptyParts))
            writeFile(h.trash + u'/' + path, "old");
        TrashCan can(systemFileSystem(), h.home);
        const QString files[] = {h.file(QStringLiteral("a/x.jpg")),
                                 h.file(QStringLiteral("b/x.jpg"))};
        QStringList got;
        std::vector<TrashSlot> reserved;
        for (const QString& file : files) {
            reserved.push_back(reserve(can, file).value());
            QVERIFY(systemFileSystem().rename(file, reserved.back().filePath));
            got << QFileInfo(reserved.back().filePath).fileName();
        }
        QCOMPARE(got.join(u' '), names);
        QVERIFY(can.release(reserved[0]));
        QVERIFY(!exists(reserved[0].infoPath));
    }

    void otherFileSystemUsesItsTopTrash_data() {
        QTest::addColumn<Top>("setup");
        QTest::addColumn<QString>("trash");  // under the mount point; empty: refused
        const QString own = QStringLiteral(".Trash-") + QString::number(currentUserId());
        QTest::newRow("no .Trash") << Top::Nothing << own;
        QTest::newRow("sticky .Trash")
            << Top::Sticky << QStringLiteral(".Trash/") + QString::number(currentUserId());
        QTest::newRow(".Trash without sticky bit") << Top::NotSticky << own;
        QTest::newRow(".Trash a link") << Top::LinkedShared << own;
        QTest::newRow(".Trash-uid a link") << Top::LinkedUser << QString();
        QTest::newRow(".Trash-uid of another user") << Top::Foreign << QString();
    }
    void otherFileSystemUsesItsTopTrash() {
        QFETCH(Top, setup);
        QFETCH(QString, trash);
        QTemporaryDir mountDir;
        const QByteArray at = QFile::encodeName(mountDir.path());
        if (::mount("quillo", at.constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] { ::umount2(at.constData(), MNT_DETACH); });
        const QString top = QFileInfo(mountDir.path()).canonicalFilePath();
        Home h;
        QVERIFY(prepareTop(setup, top, QString::number(currentUserId())));
        writeFile(top + QStringLiteral("/sub/f.jpg"), "x");
        TrashCan can(systemFileSystem(), h.home);
        const Result<TrashSlot> slot = reserve(can, top + QStringLiteral("/sub/f.jpg"));
        QCOMPARE(slot.ok(), !trash.isEmpty());
        QCOMPARE(can.trashFor(top + QStringLiteral("/sub/f.jpg"), infoOf(top).device).ok(),
                 slot.ok());
        if (!slot) {
            QCOMPARE(slot.failure().code, code::PathFileAccess);
            QVERIFY(!exists(top + QStringLiteral("/elsewhere/files")));
            return;
        }
        QCOMPARE(slot->filePath, top + u'/' + trash + QStringLiteral("/files/f.jpg"));
        QCOMPARE(infoOf(top + u'/' + trash).mode, 0700u);
        QCOMPARE(field(slot->infoPath, "Path"), QStringLiteral("sub/f.jpg"));
        QVERIFY(systemFileSystem()
                    .openFolder(top + QStringLiteral("/sub"))
                    .value()
                    ->rename(QStringLiteral("f.jpg"), slot->filePath));
    }

    // Every fault is a failure that leaves no record; the trash of a file
    // system, found or refused, is looked up once in a run.
    void faultsAreFailuresAndLookupsDoneOnce_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("path");  // under the home trash
        QTest::addColumn<int>("code");
        QTest::newRow("record not written")
            << QStringLiteral("create") << QStringLiteral("/info/x.jpg.trashinfo")
            << code::DiskFull;
        QTest::newRow("trash not made")
            << QStringLiteral("mkdir") << QString() << code::PermissionDenied;
        QTest::newRow("files not looked at")
            << QStringLiteral("info") << QStringLiteral("/files/x.jpg") << code::DeviceIo;
    }
    void faultsAreFailuresAndLookupsDoneOnce() {
        QFETCH(QString, op);
        QFETCH(QString, path);
        QFETCH(int, code);
        Home h;
        FaultyFileSystem fs;
        (op == u"create"  ? fs.failCreate
         : op == u"mkdir" ? fs.failMakeFolder
                          : fs.failInfo)
            .insert(h.trash + path, code);
        int lookups = 0;
        fs.before = [&](const QString& op, const QString&) {
            lookups += op == u"mkdir" || op == u"canonical";
        };
        TrashCan can(fs, h.home);
        QCOMPARE(reserve(can, h.file(QStringLiteral("a/x.jpg"))).failure().code, code);
        const int once = lookups;
        QCOMPARE(reserve(can, h.file(QStringLiteral("b/x.jpg"))).failure().code, code);
        QCOMPARE(lookups, once);
        QVERIFY(exists(h.base + QStringLiteral("/a/x.jpg")));
        QVERIFY(QDir(h.trash + QStringLiteral("/info")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstTrash)
#include "tst_trash.moc"
