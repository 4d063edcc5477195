#pragma once
// The keys of the settings file's records, in the order they are written.

#include <QString>
#include <array>

#include "app/settings.h"

namespace quillo::settingskey {

// Indexed by indexOf(SettingsCheck).
inline const std::array<QString, kSettingsChecks.size()> checks = {
    QStringLiteral("変換チェック"), QStringLiteral("参照チェック"), QStringLiteral("抽出チェック"),
    QStringLiteral("移動チェック"), QStringLiteral("削除チェック")};
// Indexed by indexOf(SettingsFolder).
inline const std::array<QString, kSettingsFolders.size()> folders = {
    QStringLiteral("参照フォルダ"), QStringLiteral("抽出フォルダ"), QStringLiteral("移動フォルダ"),
    QStringLiteral("削除フォルダ")};
inline const QString name = QStringLiteral("ファイル名");
inline const QString number = QStringLiteral("ファイル№");
inline const QString extent = QStringLiteral("識別子");
inline const QString top = QStringLiteral("上位置");
inline const QString left = QStringLiteral("左位置");

}  // namespace quillo::settingskey
