#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "files.h"

namespace quillo::test {

bool makeSymlink(const QString& target, const QString& link) {
    return QFile::link(target, link);
}

bool symlinksWork() {
    return true;
}

QString makeHiddenFile(const QString& folder) {
    writeFile(folder + QStringLiteral("/.hidden.jpg"), "h");
    return QStringLiteral(".hidden.jpg");
}

bool makePipe(const QString& path) {
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0) {
        std::fprintf(stderr, "cannot make the pipe %s\n", qPrintable(path));
        std::abort();
    }
    return true;
}

bool trashAvailable() {
    return true;
}

QString rooted(const QString& path) {
    return path;
}

// The util-linux flock command takes the same lock as the program (flock(2)).
bool freeForOthers(const QString& path) {
    return QProcess::execute(QStringLiteral("flock"),
                             {QStringLiteral("-n"), path, QStringLiteral("true")}) == 0;
}

// The process started holds the lock itself, with no child sharing it: the
// shell opens the file, flock locks that open file and is gone once "held" is
// written, and cat takes the shell's place with it. Killing the process is the
// death of the lock's holder.
bool holdLockElsewhere(QProcess& process, const QString& path) {
    process.start(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("exec 3<\"$1\" && flock 3 && echo held && exec cat"),
         QStringLiteral("sh"), path});
    return heldOnceSaid(process);
}

bool runsUnderWine() {
    return false;
}

bool makeHardLink(const QString& existing, const QString& link) {
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) ==
           0;
}

namespace {
QByteArray undecodable(const QString& folder) {
    return QFile::encodeName(folder) + "/bad\xff\xfe.jpg";
}
}  // namespace

bool makeUndecodableName(const QString& folder) {
    FILE* raw = std::fopen(undecodable(folder).constData(), "w");
    if (!raw) return false;
    std::fclose(raw);
    return true;
}

void removeUndecodableName(const QString& folder) {
    std::remove(undecodable(folder).constData());
}

OwnDrive::OwnDrive()
    : m_mounted(::mount("quillo", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                        "size=1m,mode=1777") == 0),
      m_top(QFileInfo(m_dir.path()).canonicalFilePath()) {}

OwnDrive::~OwnDrive() {
    if (m_mounted) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

}  // namespace quillo::test
