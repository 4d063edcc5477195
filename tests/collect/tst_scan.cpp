// The directory scan on real temporary trees, with failures injected through
// the file-system seam.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "collect/scan.h"
#include "core/format.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "recordingprogress.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// Lists in name order (so appending order can be checked) and, on request,
// without entry types, as file systems that give no type do.
class OrderedFileSystem : public FaultyFileSystem {
  public:
    bool hideTypes = false;
    Result<Listing> list(const QString& folder) override {
        Result<Listing> r = FaultyFileSystem::list(folder);
        if (!r) return r;
        std::sort(r->entries.begin(), r->entries.end(),
                  [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        if (hideTypes)
            for (DirEntry& e : r->entries) e.type = EntryType::Unknown;
        return r;
    }
};

// Makes every folder named "loop" look like the top folder, as a bind mount
// of an ancestor does.
class BindMountFileSystem : public FaultyFileSystem {
  public:
    QString top;
    Result<Listing> list(const QString& folder) override {
        return FaultyFileSystem::list(redirect(folder));
    }
    Result<FileInfo> info(const QString& path) override {
        return FaultyFileSystem::info(redirect(path));
    }

  private:
    QString redirect(const QString& p) const {
        return p.endsWith(QStringLiteral("/loop")) ? top : p;
    }
};

QStringList paths(const ScanResult& t) {
    QStringList out;
    for (const FileEntry& e : t.entries) out << e.path();
    return out;
}

ScanResult scan(const QString& folder, FileKind kind, CheckValue sw, const QString& extension,
                Progress& progress, FileSystem& fs, qint32 countBefore = 0,
                std::set<FileId> avoid = {}) {
    ScanRequest r;
    r.folder = folder;
    r.kind = kind;
    r.subfolderSwitch = sw;
    r.extension = extension;
    r.countBefore = countBefore;
    r.avoid = std::move(avoid);
    return ScanFolder(r, progress, fs);
}

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

const QString kJpg = QStringLiteral(".JPG");

}  // namespace

class TstScan : public QObject {
    Q_OBJECT
  private slots:
    void extensionMatch() {
        QVERIFY(extensionMatches(QStringLiteral("a.jpg"), kJpg));
        QVERIFY(extensionMatches(QStringLiteral("写真.JpG"), kJpg));
        QVERIFY(!extensionMatches(QStringLiteral("a.jpeg"), kJpg));
        QVERIFY(!extensionMatches(QStringLiteral("jpg"), kJpg));  // shorter than four
        // Five characters: the last four compared.
        QVERIFY(extensionMatches(QStringLiteral("x.jpeg"), QStringLiteral(".JPEG")));
        QVERIFY(extensionMatches(QStringLiteral("xjpeg"), QStringLiteral(".JPEG")));
        QVERIFY(!extensionMatches(QStringLiteral("x.jpg"), QStringLiteral(".JPEG")));
        // Shorter texts: the whole text ends the name.
        QVERIFY(extensionMatches(QStringLiteral("a.tar.GZ"), QStringLiteral(".gz")));
        QVERIFY(!extensionMatches(QStringLiteral("a.tgz"), QStringLiteral(".gz")));
        QVERIFY(extensionMatches(QStringLiteral("main.C"), QStringLiteral(".c")));
        QVERIFY(!extensionMatches(QStringLiteral("c"), QStringLiteral(".c")));
        // An empty text takes nothing.
        QVERIFY(!extensionMatches(QStringLiteral("a.jpg"), QString()));
    }

    void walksEveryLevelDepthFirst_data() {
        QTest::addColumn<bool>("hideTypes");
        QTest::newRow("types given") << false;
        QTest::newRow("types hidden") << true;
    }

    void walksEveryLevelDepthFirst() {
        QFETCH(bool, hideTypes);
        QTemporaryDir dir;
        const QString top = dir.filePath(QStringLiteral("写真"));
        writeFile(top + QStringLiteral("/a.jpg"), "a");
        writeFile(top + QStringLiteral("/b/c/d/深い.JPG"), "12345");
        writeFile(top + QStringLiteral("/b/x.Jpg"), "xx");
        writeFile(top + QStringLiteral("/c.jpg"), "c");
        writeFile(top + QStringLiteral("/note.txt"), "t");
        OrderedFileSystem fs;
        fs.hideTypes = hideTypes;
        QStringList ops;
        fs.before = [&](const QString& op, const QString& p) { ops << op + u':' + p; };
        RecordingProgress progress;
        const ScanResult t = scan(top, FileKind::Target, CheckValue::On, kJpg, progress, fs);
        QCOMPARE(
            paths(t),
            QStringList({top + QStringLiteral("/a.jpg"), top + QStringLiteral("/b/c/d/深い.JPG"),
                         top + QStringLiteral("/b/x.Jpg"), top + QStringLiteral("/c.jpg")}));
        const FileEntry& deep = t.entries[1];
        QCOMPARE(deep.dir.text(), top + QStringLiteral("/b/c/d/"));
        QCOMPARE(deep.name, QStringLiteral("深い.JPG"));
        QCOMPARE(deep.size, 5);
        QCOMPARE(deep.kind, FileKind::Target);
        QCOMPARE(deep.id, (FileId{systemFileSystem().info(deep.path())->device,
                                  systemFileSystem().info(deep.path())->inode}));
        QCOMPARE(t.skipped, 0);
        // Each folder is listed whole before its entries are examined.
        QVERIFY(ops.indexOf(QStringLiteral("list:") + top + QStringLiteral("/b")) <
                ops.indexOf(QStringLiteral("info:") + top + QStringLiteral("/c.jpg")));
        QCOMPARE(progress.events.filter(QStringLiteral("count:")),
                 QStringList({QStringLiteral("count:(1)"), QStringLiteral("count:(2)"),
                              QStringLiteral("count:(3)"), QStringLiteral("count:(4)")}));
    }

    void appendsBehindExistingEntriesAndSharesFolderText() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("1.jpg")), "");
        writeFile(dir.filePath(QStringLiteral("2.jpg")), "");
        RecordingProgress progress;
        const ScanResult t = scan(dir.path(), FileKind::Target, CheckValue::Off, kJpg, progress,
                                  systemFileSystem(), 1);
        QCOMPARE(t.entries.size(), size_t(2));
        QCOMPARE(t.entries[0].dir.text(), dir.path() + u'/');
        // One folder text for the whole folder, not a copy per file.
        QCOMPARE(t.entries[0].dir.text().constData(), t.entries[1].dir.text().constData());
        QCOMPARE(progress.lastCount, QStringLiteral("(3)"));
    }

    void folderNamedLikeAFileAndSwitchValues_data() {
        QTest::addColumn<CheckValue>("sw");
        QTest::newRow("off") << CheckValue::Off;
        QTest::newRow("on") << CheckValue::On;
        QTest::newRow("grey") << CheckValue::Grey;
    }

    void folderNamedLikeAFileAndSwitchValues() {
        QFETCH(CheckValue, sw);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("photo.jpg/inner.jpg")), "i");
        RecordingProgress progress;
        const ScanResult t =
            scan(dir.path(), FileKind::Target, sw, kJpg, progress, systemFileSystem());
        if (sw == CheckValue::On) {
            QCOMPARE(paths(t), QStringList({dir.filePath(QStringLiteral("photo.jpg/inner.jpg"))}));
        } else {
            QVERIFY(t.entries.empty());
        }
    }

    void pagefileHiddenAndNonFiles() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("PAGEFILE.SYS")), "p");
        writeFile(dir.filePath(QStringLiteral("pagefile.sys/in.sys")),
                  "p");  // a folder of that name
        writeFile(dir.filePath(QStringLiteral("driver.sys")), "d");
        writeFile(dir.filePath(QStringLiteral(".hidden.sys")), "h");
        writeFile(dir.filePath(QStringLiteral(".secret/shown.sys")), "h");
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.sys"))).constData(),
                         0600) == 0);
        RecordingProgress progress;
        const ScanResult t = scan(dir.path(), FileKind::Target, CheckValue::On,
                                  QStringLiteral(".SYS"), progress, systemFileSystem());
        QCOMPARE(paths(t), QStringList({dir.filePath(QStringLiteral("driver.sys"))}));
        QCOMPARE(t.skipped, 0);
        // One blink per listed and one per examined entry; hidden ones are not listed.
        RecordingProgress p2;
        scan(dir.path(), FileKind::Target, CheckValue::Off, QStringLiteral(".SYS"), p2,
             systemFileSystem());
        QCOMPARE(p2.blinks, 2 * 4);
    }

    void symbolicLinksNeitherCollectedNorFollowed() {
        QTemporaryDir dir;
        const QString top = dir.filePath(QStringLiteral("top"));
        writeFile(top + QStringLiteral("/a/real.jpg"), "r");
        QUILLO_SYMLINK_OR_SKIP(top, top + QStringLiteral("/a/back"));  // a loop
        QVERIFY(
            makeSymlink(top + QStringLiteral("/a/real.jpg"), top + QStringLiteral("/link.jpg")));
        RecordingProgress progress;
        const ScanResult t =
            scan(top, FileKind::Target, CheckValue::On, kJpg, progress, systemFileSystem());
        QCOMPARE(paths(t), QStringList({top + QStringLiteral("/a/real.jpg")}));
        QCOMPARE(t.skipped, 0);

        // The folder the user chose may itself be a link: it is walked under its own text.
        const QString chosen = dir.filePath(QStringLiteral("選んだ"));
        QUILLO_SYMLINK_OR_SKIP(top + QStringLiteral("/a"), chosen);
        const ScanResult viaLink =
            scan(chosen, FileKind::Target, CheckValue::On, kJpg, progress, systemFileSystem());
        QCOMPARE(paths(viaLink), QStringList({chosen + QStringLiteral("/real.jpg")}));
        QCOMPARE(viaLink.skipped, 0);

        // A folder a reference scan walked is not walked again, under any path.
        const ScanResult avoided =
            scan(top, FileKind::Target, CheckValue::On, kJpg, progress, systemFileSystem(), 0,
                 {FileId{systemFileSystem().info(top + QStringLiteral("/a"))->device,
                         systemFileSystem().info(top + QStringLiteral("/a"))->inode}});
        QVERIFY(avoided.entries.empty());
        QCOMPARE(avoided.skipped, 1);
    }

    void folderReachedTwiceIsWalkedOnce() {
        QTemporaryDir dir;
        const QString top = dir.filePath(QStringLiteral("top"));
        writeFile(top + QStringLiteral("/f.jpg"), "f");
        writeFile(top + QStringLiteral("/sub/g.jpg"), "g");
        makeDir(top + QStringLiteral("/sub/loop"));
        BindMountFileSystem fs;
        fs.top = top;
        fs.heldInfoByPath = true;
        RecordingProgress progress;
        const ScanResult t = scan(top, FileKind::Target, CheckValue::On, kJpg, progress, fs);
        QCOMPARE(sorted(paths(t)),
                 QStringList({top + QStringLiteral("/f.jpg"), top + QStringLiteral("/sub/g.jpg")}));
        QCOMPARE(t.skipped, 1);
    }

    void unreadableEntriesAreSkippedAndCounted() {
        QTemporaryDir dir;
        const QString top = dir.filePath(QStringLiteral("top"));
        writeFile(top + QStringLiteral("/ok.jpg"), "o");
        writeFile(top + QStringLiteral("/gone.jpg"), "g");
        writeFile(top + QStringLiteral("/locked/x.jpg"), "x");
        writeFile(top + QStringLiteral("/open/y.jpg"), "y");
        // An undecodable name (not UTF-8).
        const QByteArray bad = QFile::encodeName(top) + "/\xff\xfe.jpg";
        const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        FaultyFileSystem fs;
        fs.failList.insert(top + QStringLiteral("/locked"), code::PermissionDenied);
        fs.failInfo.insert(top + QStringLiteral("/gone.jpg"), code::FileNotFound);
        RecordingProgress progress;
        const ScanResult t = scan(top, FileKind::Refer, CheckValue::On, kJpg, progress, fs);
        QCOMPARE(sorted(paths(t)), QStringList({top + QStringLiteral("/ok.jpg"),
                                                top + QStringLiteral("/open/y.jpg")}));
        QCOMPARE(t.skipped, 3);
        ::unlink(bad.constData());  // QTemporaryDir cannot remove it by name

        // A top folder that cannot be listed at all.
        const ScanResult missing = scan(dir.filePath(QStringLiteral("nowhere")), FileKind::Refer,
                                        CheckValue::On, kJpg, progress, fs);
        QVERIFY(missing.entries.empty());
        QCOMPARE(missing.skipped, 1);
    }

    void countLabelGroupsThousands() {
        QTemporaryDir dir;
        for (int i = 0; i < 1500; ++i)
            writeFile(dir.filePath(QStringLiteral("画像%1.jpg").arg(i)), "");
        RecordingProgress progress;
        progress.recordCounts = false;
        const ScanResult t =
            scan(dir.path(), FileKind::Target, CheckValue::Off, kJpg, progress, systemFileSystem());
        QCOMPARE(t.entries.size(), size_t(1500));
        QCOMPARE(progress.lastCount, QStringLiteral("(1,500)"));
    }
};

QTEST_GUILESS_MAIN(TstScan)
#include "tst_scan.moc"
