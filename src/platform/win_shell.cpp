#include <windows.h>
// The shell's header needs the types of windows.h.
#include <shellapi.h>

#include <QDir>
#include <QTimer>
#include <QUrl>

#include "platform/shell.h"

namespace quillo {

// The shell's "open" verb. ShellExecuteExW answers at once whether any program
// took the target (no association, no file); done() follows on context's
// thread, as the interface promises, never inside this call.
void shellOpen(const QString& target, QObject* context, std::function<void(bool)> done) {
    const bool address = QUrl(target).scheme().size() > 1;  // "https:", not a drive "C:"
    const std::wstring file = (address ? target : QDir::toNativeSeparators(target)).toStdWString();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    const bool opened = ::ShellExecuteExW(&info);
    QTimer::singleShot(0, context, [done, opened] { done(opened); });
}

}  // namespace quillo
