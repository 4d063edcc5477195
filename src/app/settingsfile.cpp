// The settings file on disk: where it lives, reading it at start-up, replacing it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include "app/settings.h"
#include "core/paths.h"
#include "platform/userfolders.h"

namespace quillo {

namespace {

const QString kFileName = QStringLiteral("Quillo.INI");

// Far above any real settings file; a larger one is not read at all, so that
// an enormous file cannot exhaust memory at start-up.
constexpr qint64 kMaxSettingsBytes = 1024 * 1024;

// Whether a file can be created in folder. Permission bits say nothing for
// root or on a read-only mount, so this tries it.
bool canCreateFileIn(const QString& folder) {
    QTemporaryFile probe(joinPath(folder, QStringLiteral("Quillo.XXXXXX")));
    return probe.open();  // removed again when probe goes
}

std::optional<QByteArray> readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.read(kMaxSettingsBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxSettingsBytes)
        return std::nullopt;
    return bytes;
}

}  // namespace

bool writeSettingsFile(const QString& path, const SettingsValues& values) {
    const QByteArray bytes = encodeSettings(values);
    // A file the user made read-only stays as it is (root could replace it).
    const bool existed = QFileInfo::exists(path);
    const QFileDevice::Permissions kept = QFile::permissions(path);
    if (existed && !(kept & QFileDevice::WriteOwner)) return false;
    // QSaveFile writes a temporary file beside path, flushes it to disk and
    // renames it over path, so a crash leaves the old file or the new one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // The new file keeps the old one's permissions, set before it takes its place.
    if (existed && !file.setPermissions(kept)) {
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void readSettingsAtStartUp(const QString& path, SettingsTarget& target) {
    const std::optional<QByteArray> bytes = readSmallFile(path);
    if (!bytes || !LoadSettings(*bytes, target)) ApplyDefaultSettings(target);
}

QString settingsFilePath(const QString& executableFolder) {
    // An installed copy (bin/ beside share/quillo/) keeps per-user settings even
    // where its folder happens to be writable, as for root in /usr/local/bin.
    const bool installed = QFileInfo(executableFolder + QStringLiteral("/../share/quillo")).isDir();
    if (!installed && canCreateFileIn(executableFolder))
        return joinPath(executableFolder, kFileName);
    const QString config = userConfigFolder();
    // Without a home there is nowhere better; the write will fail and say so.
    if (config.isEmpty()) return joinPath(executableFolder, kFileName);
    // Created now, so that shutdown's write finds its folder.
    QDir().mkpath(config);
    return joinPath(config, kFileName);
}

}  // namespace quillo
