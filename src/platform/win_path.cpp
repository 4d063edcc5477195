#include "platform/win_path.h"

#include <windows.h>

#include <QStringList>

#include "core/paths.h"

namespace quillo {

namespace {

const QString kLong = QStringLiteral("\\\\?\\");
const QString kLongUnc = QStringLiteral("\\\\?\\UNC\\");

bool isDriveLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The full form of a relative or dotted path, as the system reads it.
QString fullPathName(const QString& path) {
    const std::wstring in = path.toStdWString();
    std::wstring out(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFullPathNameW(in.c_str(), DWORD(out.size()), out.data(), nullptr);
        if (n == 0) return path;
        if (n < out.size()) return QString::fromWCharArray(out.data(), n);
        out.resize(n + 1);
    }
}

bool hasDotPart(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('\\'));
    return parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral(".."));
}

}  // namespace

std::optional<std::wstring> win32Path(const QString& path) {
    if (path.contains(QChar(u'\0'))) return std::nullopt;
    QString s = path;
    s.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (s.startsWith(kLong) || s.startsWith(QStringLiteral("\\\\.\\"))) return s.toStdWString();
    if (s.size() == 2 && isDriveLetter(s[0]) && s[1] == u':') s += QLatin1Char('\\');
    const bool drive = s.size() >= 3 && isDriveLetter(s[0]) && s[1] == u':' && s[2] == u'\\';
    const bool unc = s.startsWith(QStringLiteral("\\\\"));
    if (s.isEmpty()) return std::wstring();
    if ((!drive && !unc) || hasDotPart(s)) {
        s = fullPathName(s);
    } else {
        // Doubled separators mean nothing to Win32 but name nothing to the
        // native API; the leading pair of a share stays.
        const qsizetype keep = unc ? 2 : 0;
        QString tail = s.mid(keep);
        while (tail.contains(QStringLiteral("\\\\")))
            tail.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        s = s.left(keep) + tail;
    }
    if (s.startsWith(QStringLiteral("\\\\"))) return (kLongUnc + s.mid(2)).toStdWString();
    return (kLong + s).toStdWString();
}

std::optional<std::wstring> ntPath(const QString& path) {
    std::optional<std::wstring> p = win32Path(path);
    if (!p || p->rfind(kLong.toStdWString(), 0) != 0) return std::nullopt;
    (*p)[1] = L'?';  // "\\?\" becomes "\??\"
    return p;
}

QString pathFromWin32(const std::wstring& path) {
    QString s = QString::fromStdWString(path);
    if (s.startsWith(kLongUnc))
        s = QStringLiteral("\\\\") + s.mid(kLongUnc.size());
    else if (s.startsWith(kLong))
        s = s.mid(kLong.size());
    return folderSetting(internalPath(s, PathStyle::Windows), PathStyle::Windows);
}

}  // namespace quillo
