// The platform layer: path joining, count texts, renames that never replace,
// failure codes for the cases the commands tell apart, name decoding.
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include "core/failure.h"
#include "core/format.h"
#include "core/paths.h"
#include "files.h"
#include "platform/filesystem.h"
#include "platform/userfolders.h"
#include "systemerrors.h"

using namespace quillo;
using namespace quillo::test;

class TstPlatform : public QObject {
    Q_OBJECT
  private slots:
    void countTexts() {
        QCOMPARE(formatCount(0), QStringLiteral("0"));
        QCOMPARE(formatCount(999), QStringLiteral("999"));
        QCOMPARE(formatCount(1000), QStringLiteral("1,000"));
        QCOMPARE(formatCount(1234567), QStringLiteral("1,234,567"));
        QCOMPARE(countCaption(1234), QStringLiteral("(1,234)"));
        QCOMPARE(progressCaption(12, 3456), QStringLiteral("(12/3,456)"));
    }

    void joiningAddsOneSeparator() {
        QCOMPARE(joinPath(QStringLiteral("/a/b"), QStringLiteral("c.jpg")),
                 QStringLiteral("/a/b/c.jpg"));
        QCOMPARE(joinPath(QStringLiteral("/"), QStringLiteral("c.jpg")), QStringLiteral("/c.jpg"));
        QCOMPARE(folderPrefix(QStringLiteral("/写真")), QStringLiteral("/写真/"));
        QCOMPARE(folderSetting(QStringLiteral("/a/b/")), QStringLiteral("/a/b"));
        QCOMPARE(folderSetting(QStringLiteral("/")), QStringLiteral("/"));
    }

    // Both forms of path texts, whatever system this is.
    void pathForms_data() {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const auto row = [](bool windows, const char* op, const char* path, const char* expected) {
            QTest::addRow("%s %s %s", windows ? "windows" : "posix", op, path)
                << windows << QString::fromLatin1(op) << QString::fromUtf8(path)
                << QString::fromUtf8(expected);
        };
        row(false, "parent", "/a/b", "/a");
        row(false, "parent", "/a", "/");
        row(false, "parent", "/", "/");
        row(false, "setting", "/a/b/", "/a/b");
        row(false, "setting", "C:\\x\\", "C:\\x\\");  // "\" is a name's letter here
        row(false, "absolute", "C:/x", "no");
        row(false, "native", "/写真/a", "/写真/a");
        row(true, "parent", "C:/a/b", "C:/a");
        row(true, "parent", "C:\\a", "C:");
        row(true, "parent", "C:", "C:");
        row(true, "parent", "//srv/share/a", "//srv/share");
        row(true, "parent", "\\\\srv\\share", "//srv/share");
        row(true, "setting", "C:\\", "C:");
        row(true, "setting", "C:/写真/", "C:/写真");
        row(true, "setting", "\\\\srv\\share\\", "//srv/share");
        row(true, "prefix", "C:", "C:/");
        row(true, "prefix", "C:\\写真", "C:/写真/");
        row(true, "absolute", "C:\\x", "yes");
        row(true, "absolute", "C:", "no");  // the current folder of drive C:
        row(true, "absolute", "\\x", "no");
        row(true, "absolute", "\\\\srv\\share", "yes");
        row(true, "native", "C:/写真/a.jpg", "C:\\写真\\a.jpg");
        row(true, "native", "C:", "C:");
        row(true, "name", "C:\\a\\b.jpg", "b.jpg");
        row(true, "same", "C:/Photos", "c:/photos");
        row(false, "same", "/Photos", "/photos");
    }
    void pathForms() {
        QFETCH(bool, windows);
        QFETCH(QString, op);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const PathStyle style = windows ? PathStyle::Windows : PathStyle::Posix;
        QString got;
        if (op == u"parent") got = parentFolder(path, style);
        if (op == u"setting") got = folderSetting(path, style);
        if (op == u"prefix") got = folderPrefix(path, style);
        if (op == u"absolute")
            got = isAbsoluteFolder(path, style) ? QStringLiteral("yes") : QStringLiteral("no");
        if (op == u"native") got = nativePath(path, style);
        if (op == u"name") got = fileNameOf(path, style);
        if (op == u"same") {
            const bool same = QString::compare(path, expected, pathCase(style)) == 0;
            QCOMPARE(same, windows);
            return;
        }
        QCOMPARE(got, expected);
    }

    void renameNeverReplaces() {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("あ.jpg"));
        const QString b = dir.filePath(QStringLiteral("b.jpg"));
        writeFile(a, "first");
        writeFile(b, "second");
        FileSystem& fs = systemFileSystem();

        Status s = fs.rename(a, b);
        QCOMPARE(s.failure().code, code::FileExists);
        QCOMPARE(readFile(a), QByteArray("first"));
        QCOMPARE(readFile(b), QByteArray("second"));

        // A name onto itself exists too.
        QCOMPARE(fs.rename(a, a).failure().code, code::FileExists);

        // Missing source is 53, missing destination folder is 76.
        QCOMPARE(fs.rename(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("x")))
                     .failure()
                     .code,
                 code::FileNotFound);
        QCOMPARE(fs.rename(a, dir.filePath(QStringLiteral("nofolder/x.jpg"))).failure().code,
                 code::PathNotFound);
        QVERIFY(exists(a));

        QVERIFY(fs.rename(a, dir.filePath(QStringLiteral("c.jpg"))).ok());
        QCOMPARE(readFile(dir.filePath(QStringLiteral("c.jpg"))), QByteArray("first"));
        QVERIFY(!exists(a));

        QCOMPARE(fs.remove(a).failure().code, code::FileNotFound);
        QVERIFY(!fs.openRead(a));
        QCOMPARE(fs.openRead(a).failure().code, code::FileNotFound);
    }

    void renameAcrossFileSystemsIsRefused() {
        if (!QFileInfo(QStringLiteral("/dev/shm")).isDir()) QSKIP("no /dev/shm on this machine");
        QTemporaryDir dir;
        QTemporaryDir other(QStringLiteral("/dev/shm/quillo-XXXXXX"));
        const QString a = dir.filePath(QStringLiteral("a.jpg"));
        writeFile(a, "x");
        auto fa = systemFileSystem().info(dir.path());
        auto fb = systemFileSystem().info(other.path());
        QVERIFY(fa && fb);
        if (fa->device == fb->device) QSKIP("/dev/shm is on the same file system here");
        const Status s = systemFileSystem().rename(a, other.filePath(QStringLiteral("a.jpg")));
        QCOMPARE(s.failure().code, code::RenameAcrossDrives);
        QVERIFY(exists(a));
        QVERIFY(!exists(other.filePath(QStringLiteral("a.jpg"))));
    }

    void listingMarksHiddenAndSkipsUndecodable() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("写真.jpg")), "x");
        // Bytes that are no UTF-8 on Linux, a lone surrogate on Windows (which
        // Wine cannot put on its disk: there the name is not made).
        const bool made = makeUndecodableName(dir.path());
        if (kHostPathStyle == PathStyle::Posix) QVERIFY(made);
        // QTemporaryDir cannot remove a name it cannot decode.
        const auto removeBad = qScopeGuard([&] { removeUndecodableName(dir.path()); });

        const QString hidden = makeHiddenFile(dir.path());

        auto listing = systemFileSystem().list(dir.path());
        QVERIFY(listing);
        QCOMPARE(listing->undecodable, made ? 1 : 0);
        QCOMPARE(int(listing->entries.size()), 2);
        for (const DirEntry& e : listing->entries) {
            QVERIFY(e.name == hidden || e.name == QStringLiteral("写真.jpg"));
            QCOMPARE(e.hidden, e.name == hidden);
        }

        QCOMPARE(systemFileSystem().list(dir.filePath(QStringLiteral("none"))).failure().code,
                 code::PathNotFound);

        QString out;
        QVERIFY(!decodeName("\xc3", 1, &out));
        QVERIFY(decodeName("\xe5\x86\x99", 3, &out));
        QCOMPARE(out, QStringLiteral("写"));
        // A leading byte-order mark stays in the name, which goes back unchanged.
        QVERIFY(
            decodeName("\xef\xbb\xbf"
                       "a.jpg",
                       8, &out));
        QCOMPARE(encodeName(out), QByteArray("\xef\xbb\xbf"
                                             "a.jpg"));
    }

    void openFolderLooksAtEntriesLikeInfo() {
        QTemporaryDir dir;
        FileSystem& fs = systemFileSystem();
        writeFile(dir.filePath(QStringLiteral("写真.jpg")), "12345");
        QUILLO_SYMLINK_OR_SKIP(dir.filePath(QStringLiteral("写真.jpg")),
                               dir.filePath(QStringLiteral("link.jpg")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const std::unique_ptr<FolderHandle> folder = std::move(fs.openFolder(dir.path()).value());
        for (const QString& name : {QStringLiteral("写真.jpg"), QStringLiteral("link.jpg"),
                                    QStringLiteral("sub"), QStringLiteral("gone.jpg")}) {
            const Result<FileInfo> byFolder = folder->info(name);
            const Result<FileInfo> byPath = fs.info(dir.filePath(name));
            QCOMPARE(bool(byFolder), bool(byPath));
            if (!byPath) {
                QCOMPARE(byFolder.failure().code, byPath.failure().code);
                continue;
            }
            QCOMPARE(byFolder->type, byPath->type);
            QCOMPARE(byFolder->size, byPath->size);
            QVERIFY(sameFile(byFolder.value(), byPath.value()));
        }
        QCOMPARE(folder->info(QStringLiteral("link.jpg"))->type, EntryType::Symlink);
        QCOMPARE(folder->info(QStringLiteral("gone.jpg")).failure().code, code::FileNotFound);
        // A final link is not followed when reading either.
        QVERIFY(!folder->openRead(QStringLiteral("link.jpg")));
        QCOMPARE(fs.openFolder(dir.filePath(QStringLiteral("none"))).failure().code,
                 code::PathNotFound);
        QVERIFY(!fs.openFolder(dir.filePath(QStringLiteral("写真.jpg"))));
    }

    // Once held, a folder is the one acted on, even after its path has been
    // given to another folder or to a link.
    void heldFolderOutlivesASwap_data() {
        QTest::addColumn<bool>("byLink");
        QTest::newRow("by a link") << true;
        QTest::newRow("by another folder") << false;
    }
    void heldFolderOutlivesASwap() {
        QFETCH(bool, byLink);
        QTemporaryDir dir;
        FileSystem& fs = systemFileSystem();
        const QString sub = dir.filePath(QStringLiteral("sub"));
        const QString other = dir.filePath(QStringLiteral("other"));
        writeFile(sub + QStringLiteral("/a.jpg"), "target");
        writeFile(sub + QStringLiteral("/b.jpg"), "target2");
        writeFile(sub + QStringLiteral("/into/d.jpg"), "target3");
        writeFile(other + QStringLiteral("/a.jpg"), "keep");
        writeFile(other + QStringLiteral("/b.jpg"), "keep2");
        const std::unique_ptr<FolderHandle> held = std::move(fs.openFolder(sub).value());
        const std::unique_ptr<FolderHandle> into =
            std::move(held->openFolder(QStringLiteral("into")).value());
        const FileId heldId = held->self()->id();
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("sub"), QStringLiteral("sub.old")));
        if (byLink)
            QUILLO_SYMLINK_OR_SKIP(other, sub);
        else
            QVERIFY(QDir(dir.path()).rename(QStringLiteral("other"), QStringLiteral("sub")));
        QCOMPARE(held->self()->id(), heldId);
        if (!byLink && runsUnderWine())
            QEXPECT_FAIL("", "Wine gives a held folder's path as it was opened", Continue);
        QCOMPARE(held->path().value(), dir.filePath(QStringLiteral("sub.old")));
        QVERIFY(held->remove(QStringLiteral("a.jpg")));
        QVERIFY(held->rename(QStringLiteral("b.jpg"), QStringLiteral("c.jpg")));
        QCOMPARE(readFile(sub + QStringLiteral("/a.jpg")), QByteArray("keep"));
        // Wine's server deletes and renames through the path a handle was
        // opened by, not the file it holds: the folder now at that path is hit.
        if (!byLink && runsUnderWine())
            QEXPECT_FAIL("", "Wine acts on a held folder's entries by its old path", Abort);
        QCOMPARE(readFile(sub + QStringLiteral("/b.jpg")), QByteArray("keep2"));
        // Moves between two held folders land in them, never replace anything.
        QVERIFY(into->moveInto(QStringLiteral("d.jpg"), *held, QStringLiteral("e.jpg")));
        QVERIFY(held->moveInto(QStringLiteral("c.jpg"), *into, QStringLiteral("e.jpg")));
        QCOMPARE(
            into->moveInto(QStringLiteral("e.jpg"), *held, QStringLiteral("e.jpg")).failure().code,
            code::FileExists);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("sub.old/e.jpg"))), QByteArray("target3"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("sub.old/into/e.jpg"))),
                 QByteArray("target2"));
        QVERIFY(!exists(dir.filePath(QStringLiteral("sub.old/a.jpg"))));
        QCOMPARE(held->openFolder(QStringLiteral("e.jpg")).failure().code, code::PathFileAccess);
        QCOMPARE(held->openFolder(QStringLiteral("..")).value()->self()->id(),
                 fs.info(dir.path())->id());
        // A folder inside a held one is held only as a folder, never through a link.
        QUILLO_SYMLINK_OR_SKIP(dir.path(), dir.filePath(QStringLiteral("sub.old/link")));
        QCOMPARE(held->openFolder(QStringLiteral("link")).failure().code, code::PathFileAccess);
    }

    void userDataFolderFollowsXdg_data() {
        QTest::addColumn<QByteArray>("set");
        QTest::addColumn<QString>("folder");
        for (const DataFolderCase& c : userDataFolderCases())
            QTest::newRow(c.tag) << c.xdgDataHome << c.folder;
    }
    void userDataFolderFollowsXdg() {
        QFETCH(QByteArray, set);
        QFETCH(QString, folder);
        const QByteArray was = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", set);
        const QString got = userDataFolder();
        qputenv("XDG_DATA_HOME", was);
        QCOMPARE(got, folder);
    }

    // The kernel would see a text with NUL cut short, naming another file.
    void nulIsABadFileName_data() {
        QTest::addColumn<QString>("op");
        for (const char* op : {"list", "info", "canonical", "folder", "open", "remove", "rename",
                               "rename to", "held info", "held open", "held remove", "held rename",
                               "held folder", "held mkdir", "held create", "held move"})
            QTest::newRow(op) << QString::fromLatin1(op);
    }
    void nulIsABadFileName() {
        QFETCH(QString, op);
        QTemporaryDir dir;
        FileSystem& fs = systemFileSystem();
        writeFile(dir.filePath(QStringLiteral("a.jpg")), "x");
        const QString cut = dir.path() + QChar(u'\0') + QStringLiteral("junk");
        const QString file = dir.filePath(QStringLiteral("a.jpg"));
        const QString nulName = QStringLiteral("a.jpg") + QChar(u'\0');
        const std::unique_ptr<FolderHandle> held = std::move(fs.openFolder(dir.path()).value());
        int got = 0;
        const auto codeOf = [](const auto& r) { return r ? 0 : r.failure().code; };
        if (op == u"list") got = codeOf(fs.list(cut));
        if (op == u"info") got = codeOf(fs.info(cut));
        if (op == u"canonical") got = codeOf(fs.canonicalFolder(cut));
        if (op == u"folder") got = codeOf(fs.openFolder(cut));
        if (op == u"open") got = codeOf(fs.openRead(file + QChar(u'\0')));
        if (op == u"remove") got = codeOf(fs.remove(cut));
        if (op == u"rename") got = codeOf(fs.rename(cut, dir.filePath(QStringLiteral("b"))));
        if (op == u"rename to") got = codeOf(fs.rename(file, cut + QStringLiteral("/b")));
        if (op == u"held info") got = codeOf(held->info(nulName));
        if (op == u"held open") got = codeOf(held->openRead(nulName));
        if (op == u"held remove") got = codeOf(held->remove(nulName));
        if (op == u"held rename") got = codeOf(held->rename(QStringLiteral("a.jpg"), nulName));
        if (op == u"held folder") got = codeOf(held->openFolder(nulName));
        if (op == u"held mkdir") got = codeOf(held->makeFolder(nulName));
        if (op == u"held create") got = codeOf(held->createFile(nulName, "x"));
        if (op == u"held move")
            got = codeOf(held->moveInto(QStringLiteral("a.jpg"), *held, nulName));
        QCOMPARE(got, code::BadFileName);
        QVERIFY(exists(file));
        QVERIFY(exists(dir.path()));
    }

    // New files and folders are private, and never take the place of what is
    // there: by path, and by name inside a held folder.
    void createNeverOpensWhatExists_data() {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("held");
        for (const bool held : {false, true}) {
            const QString how = held ? QStringLiteral("held, ") : QString();
            QTest::addRow("%sfile", qPrintable(how)) << false << QStringLiteral("new") << 0 << held;
            QTest::addRow("%sfile over a link", qPrintable(how))
                << false << QStringLiteral("link") << code::FileExists << held;
            QTest::addRow("%sfolder", qPrintable(how))
                << true << QStringLiteral("new") << 0 << held;
            QTest::addRow("%sfolder over a file", qPrintable(how))
                << true << QStringLiteral("old") << code::FileExists << held;
        }
    }
    void createNeverOpensWhatExists() {
        QFETCH(bool, folder);
        QFETCH(QString, at);
        QFETCH(int, code);
        QFETCH(bool, held);
        QTemporaryDir dir;
        FileSystem& fs = systemFileSystem();
        writeFile(dir.filePath(QStringLiteral("old")), "old");
        if (at == u"link")
            QUILLO_SYMLINK_OR_SKIP(dir.filePath(QStringLiteral("target")),
                                   dir.filePath(QStringLiteral("link")));
        const QString path = dir.filePath(at);
        Status made;
        if (held) {
            const std::unique_ptr<FolderHandle> in = std::move(fs.openFolder(dir.path()).value());
            made = folder ? in->makeFolder(at) : in->createFile(at, "bytes");
        } else {
            made = folder ? fs.makeFolder(path) : fs.createFile(path, "bytes");
        }
        QCOMPARE(made.failure().code, code);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("old"))), QByteArray("old"));
        QVERIFY(!exists(dir.filePath(QStringLiteral("target"))));
        if (code != 0) return;
        QCOMPARE(fs.info(path)->type, folder ? EntryType::Directory : EntryType::File);
        // Only its owner may use it: permission bits on POSIX systems; on
        // Windows the new entry takes the access list of the user's folder it
        // is made in.
        if (kHostPathStyle == PathStyle::Posix) {
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther;
            QCOMPARE(QFile::permissions(path) & others, QFile::Permissions());
            QCOMPARE(QFile::permissions(path) & QFile::ExeOwner,
                     folder ? QFile::Permissions(QFile::ExeOwner) : QFile::Permissions());
        }
        if (!folder) QCOMPARE(readFile(path), QByteArray("bytes"));
    }

    void failureTexts_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("code");
        for (const SystemError& e : systemErrors()) QTest::newRow(e.name) << e.error << e.code;
    }
    void failureTexts() {
        QFETCH(int, error);
        QFETCH(int, code);
        QCOMPARE(codeOfSystemError(error), code);
        QCOMPARE(makeFailure(code).code, code);
        QVERIFY(!describeFailure(code).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstPlatform)
#include "tst_platform.moc"
