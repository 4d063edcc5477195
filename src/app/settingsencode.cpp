// encodeSettings: the bytes SaveSettings writes.
#include "app/settings.h"
#include "app/settingsfields.h"
#include "app/settingskeys.h"
#include "platform/cp932codec.h"

namespace quillo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// A number as the file holds it: a blank, the number with its sign, a blank
// (" 1 ", " -30 ").
QString numberField(qint64 value) {
    return QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
}

void addRecord(QString& out, const QString& key, const QString& field) {
    out += key;
    out += QLatin1Char(',');
    out += field;
    out += kLineEnd;
}

}  // namespace

QByteArray encodeSettings(const SettingsValues& values) {
    QString text;
    for (SettingsCheck check : kSettingsChecks)
        addRecord(text, settingskey::checks[indexOf(check)],
                  numberField(checkValueNumber(values.check(check))));
    for (SettingsFolder folder : kSettingsFolders)
        addRecord(text, settingskey::folders[indexOf(folder)],
                  settingsField(values.folder(folder)));
    addRecord(text, settingskey::name, settingsField(values.name));
    addRecord(text, settingskey::number, settingsField(values.number));
    for (const QString& item : values.extents)
        if (!item.isEmpty()) addRecord(text, settingskey::extent, settingsField(item));
    addRecord(text, settingskey::top, numberField(values.top));
    addRecord(text, settingskey::left, numberField(values.left));

    if (std::optional<QByteArray> cp932 = encodeCp932(text)) return *cp932;
    // A character CP932 cannot hold would be written as "?" and lost: the whole
    // file goes out in UTF-8, marked by its byte-order mark.
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

}  // namespace quillo
