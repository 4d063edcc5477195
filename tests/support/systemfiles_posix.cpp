#include <sys/mount.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>

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
