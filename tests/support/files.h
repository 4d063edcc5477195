#pragma once
// Small helpers for building fixture trees in a QTemporaryDir.

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quillo::test {

// Writes bytes to path, creating missing folders; fails the test run on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
bool exists(const QString& path);
void makeDir(const QString& path);
// Every file under root (path -> bytes), the folders under root named in skip
// left out: what an undo must give back exactly.
QMap<QString, QByteArray> treeContents(const QString& root, const QStringList& skip = {});
// A symbolic link at link naming target, and a hard link: another name for the
// file existing. The system's own calls: on Windows QFile::link makes a
// shortcut, not a link.
bool makeSymlink(const QString& target, const QString& link);
bool makeHardLink(const QString& existing, const QString& link);
// Whether this system makes symbolic links: always on Linux; on Windows only
// with the developer mode or the privilege, and never under Wine 8, whose
// CreateSymbolicLinkW answers success and makes nothing.
bool symlinksWork();
// Makes a file that the system's file manager hides (a leading dot on
// Linux, the hidden attribute on Windows); its name.
QString makeHiddenFile(const QString& folder);
// True when this Windows program runs under Wine rather than Windows.
bool runsUnderWine();
// A file in folder whose name is no text (false when the system refuses it),
// and its removal.
bool makeUndecodableName(const QString& folder);
void removeUndecodableName(const QString& folder);

// Makes a pipe at path: an entry that is no file and whose opening could
// wait for a writer. False where pipes are never among files (Windows); the
// test run fails when the system has them and cannot make one.
bool makePipe(const QString& path);

// Whether this build moves files into a trash: the freedesktop.org trash on
// Linux; elsewhere every drive counts as one without a trash.
bool trashAvailable();
// A drive with a Recycle Bin that a test may trash into, one where the
// user's bin belongs to another user, and a removable drive, which has no bin
// and is given none: the ones the Windows test runner maps for its run
// (QUILLO_TEST_RECYCLE_DRIVE, QUILLO_TEST_FOREIGN_RECYCLE_DRIVE,
// QUILLO_TEST_REMOVABLE_DRIVE); empty elsewhere.
enum class RecycleBinOf { User, AnotherUser, NoneOnRemovable };
QString recycleBinDrive(RecycleBinOf whose);
// An absolute path of this system for one written from the root ("/p/a.jpg"):
// as it is on Linux, on drive C: on Windows. Other texts stay as they are.
QString rooted(const QString& path);

// Whether another process could take the lock of the file at path now (the
// lock FileSystem::lockFile and record files take).
bool freeForOthers(const QString& path);
// Starts process as another program that takes that lock on path and keeps
// it until its input is closed or it is killed; true once it holds it.
bool holdLockElsewhere(QProcess& process, const QString& path);
// Waits until the process started writes "held"; false when it ends first.
bool heldOnceSaid(QProcess& process);

// A small file system of its own, as a second drive shared by all users is
// (a tmpfs open to all, with the sticky bit; mounting needs root), unmounted
// when destroyed; none where the system cannot make one.
class OwnDrive {
  public:
    OwnDrive();
    ~OwnDrive();
    OwnDrive(const OwnDrive&) = delete;
    OwnDrive& operator=(const OwnDrive&) = delete;
    bool mounted() const { return m_mounted; }
    QString top() const { return m_top; }  // its mount point, every link resolved

  private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_top;
};

}  // namespace quillo::test

// Makes a symbolic link, or skips the test where the system makes none.
#define QUILLO_SYMLINK_OR_SKIP(target, link)              \
    do {                                                  \
        if (!quillo::test::makeSymlink(target, link)) {   \
            QVERIFY(!quillo::test::symlinksWork());       \
            QSKIP("this system makes no symbolic links"); \
        }                                                 \
    } while (false)
