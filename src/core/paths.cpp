#include "core/paths.h"

#include "core/failure.h"

namespace quillo {

namespace {

bool isDriveLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isSeparator(QChar c, PathStyle style) {
    return c == kSeparator || (style == PathStyle::Windows && c == u'\\');
}

qsizetype lastSeparator(const QString& path, PathStyle style) {
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path[i], style)) return i;
    return -1;
}

// "C:" at the start of a Windows text.
bool startsWithDrive(const QString& path) {
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == u':';
}

// "//srv/share" at the start of a Windows text: its length, 0 if none.
qsizetype shareLength(const QString& path) {
    if (path.size() < 2 || !isSeparator(path[0], PathStyle::Windows) ||
        !isSeparator(path[1], PathStyle::Windows))
        return 0;
    qsizetype i = 2;
    int parts = 0;
    while (parts < 2) {
        const qsizetype start = i;
        while (i < path.size() && !isSeparator(path[i], PathStyle::Windows)) ++i;
        if (i == start) return 0;  // "//" with no server or no share
        ++parts;
        if (parts < 2) {
            if (i == path.size()) return 0;
            ++i;
        }
    }
    return i;
}

}  // namespace

QString internalPath(const QString& text, PathStyle style) {
    if (style == PathStyle::Posix) return text;
    QString s = text;
    s.replace(QLatin1Char('\\'), kSeparator);
    return s;
}

QString nativePath(const QString& path, PathStyle style) {
    if (style == PathStyle::Posix) return path;
    QString s = path;
    s.replace(kSeparator, QLatin1Char('\\'));
    return s;
}

qsizetype rootLength(const QString& path, PathStyle style) {
    if (style == PathStyle::Posix) return path.startsWith(kSeparator) ? 1 : 0;
    if (startsWithDrive(path)) return path.size() > 2 && isSeparator(path[2], style) ? 3 : 2;
    if (const qsizetype share = shareLength(path)) return share;
    return !path.isEmpty() && isSeparator(path[0], style) ? 1 : 0;
}

bool isAbsoluteFolder(const QString& folder, PathStyle style) {
    // Text only, the same on every system; Qt's resource paths (":/…") are no folders.
    if (style == PathStyle::Posix) return folder.startsWith(kSeparator);
    // "C:x" and "\x" depend on the current folder of a drive: not absolute.
    if (startsWithDrive(folder)) return folder.size() > 2 && isSeparator(folder[2], style);
    return shareLength(folder) > 0;
}

QString folderPrefix(const QString& folder, PathStyle style) {
    const QString f = internalPath(folder, style);
    if (f.endsWith(kSeparator)) return f;
    return f + kSeparator;
}

QString joinPath(const QString& folder, const QString& name, PathStyle style) {
    return folderPrefix(folder, style) + name;
}

Result<QString> destinationPrefix(const QString& folder, PathStyle style) {
    // The prefix, not the setting, is tested: a drive root held as its bare
    // drive is absolute only with its separator.
    const QString prefix = folderPrefix(folder, style);
    if (folder.isEmpty() || !isAbsoluteFolder(prefix, style) || folder.contains(QChar(u'\0')))
        return makeFailure(code::PathNotFound);
    return prefix;
}

QString parentFolder(const QString& path, PathStyle style) {
    const QString folder = folderSetting(path, style);
    const qsizetype cut = lastSeparator(folder, style);
    if (style == PathStyle::Posix) {
        if (cut <= 0) return QString(kSeparator);
        return folder.left(cut);
    }
    const qsizetype root = rootLength(folder, style);
    if (root > 0 && cut < root) return folderSetting(folder.left(root), style);
    if (cut <= 0) return root > 0 ? folder.left(root) : QString(kSeparator);
    return folder.left(cut);
}

QString fileNameOf(const QString& path, PathStyle style) {
    return path.mid(lastSeparator(path, style) + 1);
}

QString folderSetting(const QString& path, PathStyle style) {
    QString s = internalPath(path, style);
    // A drive root keeps no separator ("C:/" is "C:"); the root "/" keeps its one.
    const qsizetype keep = style == PathStyle::Windows && startsWithDrive(s) ? 2 : 1;
    while (s.size() > keep && s.endsWith(kSeparator)) s.chop(1);
    return s;
}

Qt::CaseSensitivity pathCase(PathStyle style) {
    return style == PathStyle::Windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

}  // namespace quillo
