#include <windows.h>
// The shell's headers need the types of windows.h.
#include <knownfolders.h>
#include <shlobj.h>

#include "core/paths.h"
#include "platform/userfolders.h"

namespace quillo {

namespace {
// A known folder; empty when the system names none (a profile that failed to
// load).
QString knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = internalPath(QString::fromWCharArray(path));
    ::CoTaskMemFree(path);
    return folder;
}
}  // namespace

QString userDataFolder() {
    return knownFolder(FOLDERID_LocalAppData);
}

QString userConfigFolder() {
    const QString roaming = knownFolder(FOLDERID_RoamingAppData);
    return roaming.isEmpty() ? roaming : joinPath(roaming, QStringLiteral("Quillo"));
}

}  // namespace quillo
