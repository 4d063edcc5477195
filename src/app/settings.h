#pragma once
// The settings file Quillo.INI: one "key,value" record per CR LF line, in
// CP932 (UTF-8 with a byte-order mark when a value needs characters CP932
// lacks). The window's controls are the settings; they are read and written
// through SettingsTarget and SettingsValues.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "core/checkvalue.h"

namespace quillo {

// In the order the file stores them.
enum class SettingsCheck { JpegJpg, Refer, Select, Move, Delete };
enum class SettingsFolder { Refer, Select, Move, Delete };
inline constexpr std::array kSettingsChecks{SettingsCheck::JpegJpg, SettingsCheck::Refer,
                                            SettingsCheck::Select, SettingsCheck::Move,
                                            SettingsCheck::Delete};
inline constexpr std::array kSettingsFolders{SettingsFolder::Refer, SettingsFolder::Select,
                                             SettingsFolder::Move, SettingsFolder::Delete};

// The position of a check or folder in its array.
constexpr std::size_t indexOf(SettingsCheck check) {
    return static_cast<std::size_t>(check);
}
constexpr std::size_t indexOf(SettingsFolder folder) {
    return static_cast<std::size_t>(folder);
}

// A snapshot of the controls, in the order the file stores them.
struct SettingsValues {
    std::array<CheckValue, kSettingsChecks.size()> checks{};  // indexed by indexOf(SettingsCheck)
    std::array<QString, kSettingsFolders.size()> folders;     // indexed by indexOf(SettingsFolder)
    QString name;
    QString number;
    QStringList extents;  // empty items are not written
    int top = 0;          // twips
    int left = 0;         // twips

    CheckValue& check(SettingsCheck c) { return checks[indexOf(c)]; }
    CheckValue check(SettingsCheck c) const { return checks[indexOf(c)]; }
    QString& folder(SettingsFolder f) { return folders[indexOf(f)]; }
    const QString& folder(SettingsFolder f) const { return folders[indexOf(f)]; }
};

// What start-up writes into: the main window.
class SettingsTarget {
  public:
    virtual ~SettingsTarget() = default;
    virtual void setFolderText(SettingsFolder folder, const QString& text) = 0;
    // Points the folder chooser's directory list, then its drive list, at folder;
    // false when it cannot be shown.
    virtual bool pointChooser(const QString& folder) = 0;
    // The folder the chooser's directory list shows.
    virtual QString chooserFolder() = 0;
    virtual void setName(const QString& text) = 0;
    // txtNumber's text and DigitCount.
    virtual void setNumber(const QString& text, qint16 DigitCount) = 0;
    // Appends an item to cmbExtent, then sets its text to the first item.
    virtual void appendExtent(const QString& item) = 0;
    // Sets the text of cmbExtent (defaults step).
    virtual void setExtentText(const QString& text) = 0;
    virtual void setCheck(SettingsCheck check, CheckValue value) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setLeft(int twips) = 0;
};

// The exact bytes SaveSettings writes.
QByteArray encodeSettings(const SettingsValues& values);

// Writes the file atomically (temporary file, flush, rename); false on failure,
// in which case the old file is untouched.
bool writeSettingsFile(const QString& path, const SettingsValues& values);

// Applies the records of a file's bytes in order; false when the read failed
// (the caller then runs ApplyDefaultSettings).
bool LoadSettings(const QByteArray& bytes, SettingsTarget& target);

// The defaults step of start-up.
void ApplyDefaultSettings(SettingsTarget& target);

// Start-up's reading: the file, or the defaults when it is missing or faulty.
void readSettingsAtStartUp(const QString& path, SettingsTarget& target);

// Quillo.INI beside the executable where that folder can be written, else in
// the per-user configuration folder (~/.config/Quillo/; %APPDATA%\Quillo on Windows).
QString settingsFilePath(const QString& executableFolder);

}  // namespace quillo
