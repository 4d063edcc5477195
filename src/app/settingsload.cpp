// LoadSettings and ApplyDefaultSettings: the two ways start-up fills the controls.
#include <QStringDecoder>
#include <algorithm>
#include <limits>

#include "app/settings.h"
#include "app/settingsfields.h"
#include "app/settingskeys.h"
#include "core/paths.h"
#include "platform/cp932codec.h"

namespace quillo {

namespace {

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// The file's text: UTF-8 after a byte-order mark, CP932 otherwise.
std::optional<QString> decodeSettingsText(const QByteArray& bytes) {
    if (!bytes.startsWith(kUtf8Mark)) return decodeCp932(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes).sliced(kUtf8Mark.size()));
    if (utf8.hasError()) return std::nullopt;
    return text;
}

// A check box value: 0 to 2 with blanks around it, nothing otherwise.
std::optional<CheckValue> checkValue(const QString& field) {
    bool ok = false;
    const int value = field.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return checkValueFromNumber(value);
}

// The number a position value starts with, blanks skipped; 0 when there is none.
// Digits beyond the range of a position are held at its limit.
int leadingNumber(const QString& field) {
    qsizetype i = 0;
    while (i < field.size() && field[i] == QLatin1Char(' ')) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == QLatin1Char('-') || field[i] == QLatin1Char('+'))) {
        negative = field[i] == QLatin1Char('-');
        ++i;
    }
    constexpr qint64 limit = std::numeric_limits<int>::max();
    qint64 value = 0;
    for (; i < field.size() && field[i] >= QLatin1Char('0') && field[i] <= QLatin1Char('9'); ++i)
        value = std::min(limit + 1, value * 10 + (field[i].unicode() - u'0'));
    if (negative) return static_cast<int>(-std::min(limit + 1, value));
    return static_cast<int>(std::min(limit, value));
}

// Applies one record; false when it fails the read.
bool applyRecord(const QString& key, const QString& value, SettingsTarget& target) {
    for (SettingsCheck check : kSettingsChecks) {
        if (key != settingskey::checks[indexOf(check)]) continue;
        const std::optional<CheckValue> v = checkValue(value);
        if (!v) return false;
        target.setCheck(check, *v);
        return true;
    }
    for (SettingsFolder folder : kSettingsFolders) {
        if (key != settingskey::folders[indexOf(folder)]) continue;
        // No folder holds a NUL: the kernel would see the text cut there, a
        // folder above the one meant.
        if (value.contains(QChar(u'\0'))) return false;
        target.setFolderText(folder, value);
        // A folder the chooser cannot show (an unplugged drive) keeps its text in
        // the box and leaves the chooser where it was; the other settings still count.
        if (folder == SettingsFolder::Select) target.pointChooser(value);
        return true;
    }
    if (key == settingskey::name) {
        target.setName(value);
    } else if (key == settingskey::number) {
        // DigitCount is 16 bits; a longer text is no number the box ever held.
        if (value.size() > std::numeric_limits<qint16>::max()) return false;
        target.setNumber(value, static_cast<qint16>(value.size()));
    } else if (key == settingskey::extent) {
        target.appendExtent(value);
    } else if (key == settingskey::top) {
        target.setTop(leadingNumber(value));
    } else if (key == settingskey::left) {
        target.setLeft(leadingNumber(value));
    }
    return true;  // other keys are ignored with their values
}

}  // namespace

bool LoadSettings(const QByteArray& bytes, SettingsTarget& target) {
    const std::optional<QString> text = decodeSettingsText(bytes);
    if (!text) return false;
    SettingsFieldReader reader(*text);
    for (;;) {
        const std::optional<QString> key = reader.nextKey();
        if (!key) return !reader.malformed();
        const std::optional<QString> value = reader.nextValue();
        if (!value) return false;
        if (!applyRecord(*key, *value, target)) return false;
    }
}

void ApplyDefaultSettings(SettingsTarget& target) {
    const QString folder = nativePath(target.chooserFolder());
    target.setFolderText(SettingsFolder::Refer, folder);
    target.setFolderText(SettingsFolder::Select, folder);
    target.setFolderText(SettingsFolder::Move, folder);
    target.setFolderText(SettingsFolder::Delete, folder);
    target.setName(QStringLiteral("GAZOU"));
    target.setNumber(QStringLiteral("00001"), 5);
    for (const char16_t* item : {u".JPG", u".JPEG", u".GIF", u".BMP"})
        target.appendExtent(QString::fromUtf16(item));
    target.setExtentText(QStringLiteral(".JPG"));
    target.setCheck(SettingsCheck::JpegJpg, CheckValue::On);
    target.setCheck(SettingsCheck::Refer, CheckValue::On);
    target.setCheck(SettingsCheck::Select, CheckValue::On);
    target.setCheck(SettingsCheck::Move, CheckValue::Off);
    target.setCheck(SettingsCheck::Delete, CheckValue::Off);
}

}  // namespace quillo
