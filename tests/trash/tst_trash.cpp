// The trash: which trash a file goes to, the record written for it, free
// names, refused trash folders, another user's swap mid-run, failures and
// lookups, putting files back.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include "core/failure.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "journal/runjournal.h"
#include "platform/posixaccess.h"
#include "trash/recyclerecord.h"
#include "trash/trashcan.h"
#include "trash/trashinfo.h"
#include "undo/undocommand.h"

using namespace quillo;
using namespace quillo::test;

namespace {

const uint kOtherUser = 4242;

FileInfo infoOf(const QString& path) {
    return systemFileSystem().info(path).value();
}

// Permission bits and owner of what is at path, a link not followed.
struct stat statOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) qFatal("cannot look at a fixture");
    return st;
}

// A home trash in a temporary folder, and the files to trash beside it.
struct Home {
    QTemporaryDir dir;
    QString base = QFileInfo(dir.path()).canonicalFilePath();
    TrashHome home{base + QStringLiteral("/data/share")};
    QString trash = home.dataHome + QStringLiteral("/Trash");
    QString file(const QString& path) {
        writeFile(base + QLatin1Char('/') + path, "x");
        return base + QLatin1Char('/') + path;
    }
};

// A tmpfs of its own, as a shared drive is: every user may write at its top.
struct Drive {
    QTemporaryDir mountDir;
    QByteArray at = QFile::encodeName(mountDir.path());
    bool mounted = ::mount("quillo", at.constData(), "tmpfs", 0, "size=1m,mode=1777") == 0;
    QString top = QFileInfo(mountDir.path()).canonicalFilePath();
    ~Drive() {
        if (mounted) ::umount2(at.constData(), MNT_DETACH);
    }
};

// The trash of the file at path: its record written, the file moved in.
Result<TrashSlot> trashFile(TrashCan& can, FileSystem& fs, const QString& path) {
    Result<std::unique_ptr<FolderHandle>> folder = fs.openFolder(parentFolder(path));
    if (!folder) return folder.failure();
    const Result<TrashBin*> bin = can.binFor(*folder.value());
    if (!bin) return bin.failure();
    if (!bin.value()) return makeFailure(code::PathFileAccess);
    const Result<TrashSlot> slot = can.freeSlot(*bin.value(), fileNameOf(path));
    if (!slot) return slot;
    if (const Status written = can.writeRecord(slot.value(), path, 1); !written)
        return written.failure();
    if (const Status moved = can.moveIn(*folder.value(), fileNameOf(path), slot.value()); !moved)
        return moved.failure();
    return slot;
}

QString recordOf(const TrashSlot& slot) {
    return slot.bin->root + QStringLiteral("/info/") + trashInfoName(slot.name);
}

// The value of key in a record.
QString field(const QString& infoPath, const char* key) {
    for (const QByteArray& line : readFile(infoPath).split('\n'))
        if (line.startsWith(QByteArray(key) + '='))
            return QString::fromUtf8(line.mid(qstrlen(key) + 1));
    return {};
}

bool folder(const QString& path, mode_t mode, uint owner = currentUserId()) {
    const QByteArray name = QFile::encodeName(path);
    return ::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), mode) == 0 &&
           ::chown(name.constData(), owner, 0) == 0;
}

enum class Top {
    Nothing,
    Sticky,
    NotSticky,
    LinkedShared,
    LinkedUser,
    Foreign,
    ForeignInShared,
    OpenToAll,
    LinkedFiles
};

// Lays out the top of a file system; "elsewhere" is where its links lead.
bool prepareTop(Top setup, const QString& top, const QString& id) {
    const QString shared = top + QStringLiteral("/.Trash");
    const QString mine = top + QStringLiteral("/.Trash-") + id;
    const QString elsewhere = top + QStringLiteral("/elsewhere");
    bool ok = folder(elsewhere, 01777);
    if (setup == Top::Sticky) ok &= folder(shared, 01777);
    if (setup == Top::NotSticky) ok &= folder(shared, 0777);
    if (setup == Top::LinkedShared) ok &= QFile::link(elsewhere, shared);
    if (setup == Top::LinkedUser) ok &= QFile::link(elsewhere, mine);
    if (setup == Top::Foreign) ok &= folder(mine, 0700, kOtherUser);
    if (setup == Top::ForeignInShared)
        ok &= folder(shared, 01777, kOtherUser) && folder(shared + u'/' + id, 0777, kOtherUser);
    if (setup == Top::OpenToAll) ok &= folder(mine, 0777);
    if (setup == Top::LinkedFiles)
        ok &= folder(mine, 0700) && QFile::link(elsewhere, mine + QStringLiteral("/files"));
    return ok;
}

}  // namespace

Q_DECLARE_METATYPE(Top)

// What is done to a record's bytes before they are read back.
enum class Damage { None, CutShort, LongerThanItsPath, Version1, NoNull, NullInside };
Q_DECLARE_METATYPE(Damage)

class TstTrash : public QObject {
    Q_OBJECT
  private slots:
    void homeTrashIsMadeAndRecordsThePath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("escaped");
        QTest::addColumn<QString>("trashed");  // empty: the name itself
        QTest::newRow("plain") << QStringLiteral("a.jpg") << QStringLiteral("a.jpg") << QString();
        QTest::newRow("space, Japanese, percent")
            << QStringLiteral("写真 100%.jpg") << QStringLiteral("%E5%86%99%E7%9C%9F%20100%25.jpg")
            << QString();
        // 250 bytes: the record's name would pass the 255 the file system takes.
        const QString longName = QString(82, u'写') + QStringLiteral(".jpg");
        QTest::newRow("name too long for its record")
            << longName << QString::fromLatin1(longName.toUtf8().toPercentEncoding())
            << QString(80, u'写') + QStringLiteral("~.jpg");
    }
    void homeTrashIsMadeAndRecordsThePath() {
        QFETCH(QString, name);
        QFETCH(QString, escaped);
        QFETCH(QString, trashed);
        Home h;
        const QString file = h.file(QStringLiteral("in/") + name);
        TrashCan can(systemFileSystem(), h.home);
        const Result<TrashSlot> slot = trashFile(can, systemFileSystem(), file);
        QVERIFY(slot);
        const QString inTrash = trashed.isEmpty() ? name : trashed;
        QCOMPARE(slot->filePath, h.trash + QStringLiteral("/files/") + inTrash);
        QVERIFY(exists(slot->filePath));
        QVERIFY(!exists(file));
        QCOMPARE(statOf(h.trash).st_mode & 07777, 0700u);
        const QString record = h.trash + QStringLiteral("/info/") + trashInfoName(inTrash);
        QVERIFY(readFile(record).startsWith("[Trash Info]\n"));
        QCOMPARE(field(record, "Path"), h.base + QStringLiteral("/in/") + escaped);
        QCOMPARE(trashInfoPath(readFile(record)), std::optional<QString>(file));
        const QDateTime when = QDateTime::fromString(field(record, "DeletionDate"),
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
        QStringList got;
        std::vector<TrashSlot> trashed;
        for (const char* path : {"a/x.jpg", "b/x.jpg"}) {
            trashed.push_back(
                trashFile(can, systemFileSystem(), h.file(QString::fromLatin1(path))).value());
            got << trashed.back().name;
        }
        QCOMPARE(got.join(u' '), names);
        QVERIFY(can.release(trashed[0]));
        QVERIFY(!exists(recordOf(trashed[0])));
    }

    void otherFileSystemUsesItsTopTrash_data() {
        QTest::addColumn<Top>("setup");
        QTest::addColumn<QString>("trash");  // under the mount point; empty: none
        const QString own = QStringLiteral(".Trash-") + QString::number(currentUserId());
        QTest::newRow("no .Trash") << Top::Nothing << own;
        QTest::newRow("sticky .Trash")
            << Top::Sticky << QStringLiteral(".Trash/") + QString::number(currentUserId());
        QTest::newRow(".Trash without sticky bit") << Top::NotSticky << own;
        QTest::newRow(".Trash a link") << Top::LinkedShared << own;
        QTest::newRow(".Trash/uid of another user") << Top::ForeignInShared << own;
        QTest::newRow(".Trash-uid a link") << Top::LinkedUser << QString();
        QTest::newRow(".Trash-uid of another user") << Top::Foreign << QString();
        QTest::newRow(".Trash-uid open to all") << Top::OpenToAll << QString();
        QTest::newRow("its files/ a link") << Top::LinkedFiles << QString();
    }
    void otherFileSystemUsesItsTopTrash() {
        QFETCH(Top, setup);
        QFETCH(QString, trash);
        Drive d;
        if (!d.mounted) QSKIP("cannot mount a tmpfs here");
        Home h;
        QVERIFY(prepareTop(setup, d.top, QString::number(currentUserId())));
        const QString file = d.top + QStringLiteral("/sub/f.jpg");
        writeFile(file, "x");
        TrashCan can(systemFileSystem(), h.home);
        Result<std::unique_ptr<FolderHandle>> sub =
            systemFileSystem().openFolder(parentFolder(file));
        const Result<TrashBin*> bin = can.binFor(*sub.value());
        QVERIFY(bin);
        QCOMPARE(bin.value() != nullptr, !trash.isEmpty());
        if (!bin.value()) {
            QVERIFY(!exists(d.top + QStringLiteral("/elsewhere/files")));
            return;
        }
        const Result<TrashSlot> slot = trashFile(can, systemFileSystem(), file);
        QVERIFY(slot);
        QCOMPARE(slot->filePath, d.top + u'/' + trash + QStringLiteral("/files/f.jpg"));
        QCOMPARE(statOf(d.top + u'/' + trash).st_mode & 07777, 0700u);
        QCOMPARE(field(recordOf(slot.value()), "Path"), QStringLiteral("sub/f.jpg"));
        QVERIFY(exists(slot->filePath));
    }

    // Another user owns the shared .Trash of a drive and, while a run
    // trashes, swaps the user's .Trash/<uid> for a folder of their own:
    // every file still goes into the folder that was checked.
    void aSwappedTrashNeverReceivesAFile() {
        Drive d;
        if (!d.mounted) QSKIP("cannot mount a tmpfs here");
        Home h;
        const QString id = QString::number(currentUserId());
        const QString shared = d.top + QStringLiteral("/.Trash");
        QVERIFY(folder(shared, 01777, kOtherUser));
        const QString files[] = {d.top + QStringLiteral("/sub/1.jpg"),
                                 d.top + QStringLiteral("/sub/2.jpg")};
        for (const QString& f : files) writeFile(f, "photo");
        FaultyFileSystem fs;
        bool swapped = false;
        fs.before = [&](const QString& op, const QString& path) {
            if (swapped || op != u"create" || !path.startsWith(shared)) return;
            swapped = true;
            QVERIFY(::rename(QFile::encodeName(shared + u'/' + id).constData(),
                             QFile::encodeName(shared + QStringLiteral("/taken")).constData()) ==
                    0);
            QVERIFY(folder(shared + u'/' + id, 0777, kOtherUser));
            QVERIFY(folder(shared + u'/' + id + QStringLiteral("/files"), 0777, kOtherUser));
            QVERIFY(folder(shared + u'/' + id + QStringLiteral("/info"), 0777, kOtherUser));
        };
        TrashCan can(fs, h.home);
        for (const QString& f : files) QVERIFY(trashFile(can, fs, f));
        QVERIFY(swapped);
        QVERIFY(QDir(shared + u'/' + id + QStringLiteral("/files")).isEmpty());
        QVERIFY(QDir(shared + u'/' + id + QStringLiteral("/info")).isEmpty());
        for (const char* name : {"files/1.jpg", "files/2.jpg", "info/1.jpg.trashinfo"})
            QCOMPARE(statOf(shared + QStringLiteral("/taken/") + QString::fromLatin1(name)).st_uid,
                     currentUserId());
    }

    // Every fault is a failure that leaves no record; the trash of a file
    // system, found or refused, is looked up once in a run.
    void faultsAreFailuresAndLookupsDoneOnce_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("path");  // under the home trash
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("noTrash");  // a drive without a trash, not a failure
        QTest::newRow("record not written")
            << QStringLiteral("create") << QStringLiteral("/info/x.jpg.trashinfo") << code::DiskFull
            << false;
        QTest::newRow("trash not made")
            << QStringLiteral("mkdir") << QString() << code::PermissionDenied << true;
        QTest::newRow("files not looked at")
            << QStringLiteral("info") << QStringLiteral("/files/x.jpg") << code::DeviceIo << false;
    }
    void faultsAreFailuresAndLookupsDoneOnce() {
        QFETCH(QString, op);
        QFETCH(QString, path);
        QFETCH(int, code);
        QFETCH(bool, noTrash);
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
        int once = -1;
        for (const char* file : {"a/x.jpg", "b/x.jpg"}) {
            const Result<TrashSlot> slot = trashFile(can, fs, h.file(QString::fromLatin1(file)));
            QCOMPARE(slot.failure().code, noTrash ? code::PathFileAccess : code);
            if (once < 0) once = lookups;
            QCOMPARE(lookups, once);
        }
        QVERIFY(exists(h.base + QStringLiteral("/a/x.jpg")));
        QVERIFY(QDir(h.trash + QStringLiteral("/info")).isEmpty());
    }

    // Taking a file back removes its record only when the trash wrote it for
    // that file; a record of a file that never arrived goes the same way.
    void onlyItsOwnRecordGoes_data() {
        QTest::addColumn<QByteArray>("record");  // what the record is made to hold; empty: kept
        QTest::addColumn<bool>("removed");
        QTest::newRow("its own") << QByteArray() << true;
        QTest::newRow("another file's") << QByteArray("[Trash Info]\nPath=/else/y.jpg\n") << false;
        QTest::newRow("no record") << QByteArray("[not one]\n") << false;
    }
    void onlyItsOwnRecordGoes() {
        QFETCH(QByteArray, record);
        QFETCH(bool, removed);
        Home h;
        const QString file = h.file(QStringLiteral("in/x.jpg"));
        FileSystem& fs = systemFileSystem();
        TrashCan can(fs, h.home);
        const TrashSlot slot = trashFile(can, fs, file).value();
        if (!record.isEmpty()) {
            QVERIFY(QFile::remove(recordOf(slot)));
            writeFile(recordOf(slot), record);
        }
        const FileInfo before = infoOf(slot.filePath);
        TrashCan again(fs, h.home);
        QVERIFY(again.takeBack(slot.filePath, before, *fs.openFolder(parentFolder(file)).value(),
                               fileNameOf(file), file));
        QVERIFY(exists(file));
        QCOMPARE(exists(recordOf(slot)), !removed);

        // The same for a record whose file never reached the trash.
        const TrashSlot orphan = can.freeSlot(*slot.bin, QStringLiteral("x.jpg")).value();
        QVERIFY(can.writeRecord(orphan, file, 1));
        if (!record.isEmpty()) {
            QVERIFY(QFile::remove(recordOf(orphan)));
            writeFile(recordOf(orphan), record);
        }
        again.forgetRecord(orphan.filePath, file);
        QCOMPARE(exists(recordOf(orphan)), !removed);
    }

    // The Recycle Bin's record as Windows 10 writes it, read back; anything
    // else is no record, so that undo never removes one it did not write.
    void recycleRecordRoundTripsAndRefusesOthers_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QByteArray>("hex");  // the whole record; empty: not compared
        const QString plain = QStringLiteral("C:\\a");
        QTest::newRow("bytes") << plain << Damage::None
                               << QByteArray(
                                      "0200000000000000"
                                      "0300000000000000"
                                      "00803ed5deb19d01"
                                      "05000000"
                                      "43003a005c006100"
                                      "0000");
        QTest::newRow("long path")
            << QStringLiteral("D:\\") + QString(400, u'x') << Damage::None << QByteArray();
        QTest::newRow("non-ASCII")
            << QStringLiteral("C:\\写真\\写真 №1.JPG") << Damage::None << QByteArray();
        QTest::newRow("cut short") << plain << Damage::CutShort << QByteArray();
        QTest::newRow("longer than its path") << plain << Damage::LongerThanItsPath << QByteArray();
        QTest::newRow("version 1") << plain << Damage::Version1 << QByteArray();
        QTest::newRow("no null") << plain << Damage::NoNull << QByteArray();
        QTest::newRow("null inside") << plain << Damage::NullInside << QByteArray();
    }
    void recycleRecordRoundTripsAndRefusesOthers() {
        QFETCH(QString, path);
        QFETCH(Damage, damage);
        QFETCH(QByteArray, hex);
        const RecycleRecord record{path, 3, QDateTime::fromMSecsSinceEpoch(0, QTimeZone::utc())};
        QByteArray bytes = recycleRecordBytes(record);
        if (!hex.isEmpty()) QCOMPARE(bytes.toHex(), hex);
        const qsizetype last = bytes.size() - 2;  // the path's terminating null
        if (damage == Damage::CutShort) bytes.chop(1);
        if (damage == Damage::LongerThanItsPath) bytes.append(2, '\0');
        if (damage == Damage::Version1) bytes[0] = 1;
        if (damage == Damage::NoNull) bytes[last] = 'A';
        if (damage == Damage::NullInside) bytes[last - 2] = 0;
        const std::optional<RecycleRecord> back = parseRecycleRecord(bytes);
        QCOMPARE(back.has_value(), damage == Damage::None);
        if (!back) return;
        QCOMPARE(back->path, path);
        QCOMPARE(back->size, 3);
        QCOMPARE(back->removed, record.removed);
    }

    // A run killed between a file's record and its move leaves a pending
    // row: the next command settles it and the record goes, the file stays.
    void aKilledTrashingLeavesNoRecord() {
        Home h;
        const QString file = h.file(QStringLiteral("in/x.jpg"));
        FileSystem& fs = systemFileSystem();
        const JournalFolder journals(fs, h.base + QStringLiteral("/journal"));
        TrashCan can(fs, h.home);
        TrashSlot slot;
        {
            RunJournal journal(journals, JournalKind::Remove);
            Result<std::unique_ptr<FolderHandle>> folder = fs.openFolder(parentFolder(file));
            slot =
                can.freeSlot(*can.binFor(*folder.value()).value(), QStringLiteral("x.jpg")).value();
            JournalRow row;
            row.op = JournalOp::Trash;
            row.oldPath = file;
            row.newPath = slot.filePath;
            row.before = infoOf(file);
            QVERIFY(journal.begin(row));  // never ended: the process died here
            QVERIFY(can.writeRecord(slot, file, 1));
        }
        QVERIFY(exists(recordOf(slot)));
        recoverRuns(journals, can);
        QVERIFY(!exists(recordOf(slot)));
        QVERIFY(exists(file));
    }
};

QTEST_GUILESS_MAIN(TstTrash)
#include "tst_trash.moc"
