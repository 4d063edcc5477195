#pragma once
// A SettingsTarget that writes down every call in order, as a short text, and
// keeps the resulting values so that they can be written out again.

#include <QStringList>

#include "app/settings.h"
#include "core/paths.h"

namespace quillo::test {

class RecordingTarget : public SettingsTarget {
  public:
    QStringList calls;
    SettingsValues values;
    qint16 digitCount = 0;
    bool chooserShows = true;  // what pointChooser answers
    QString chooserAt = QStringLiteral("/start");

    void setFolderText(SettingsFolder folder, const QString& text) override {
        calls << QStringLiteral("folder %1 %2").arg(int(folder)).arg(text);
        values.folder(folder) = text;
    }
    bool pointChooser(const QString& folder) override {
        calls << QStringLiteral("point %1").arg(folder);
        if (chooserShows) chooserAt = folder;
        return chooserShows;
    }
    QString chooserFolder() override {
        calls << QStringLiteral("chooser");
        return chooserAt;
    }
    void setName(const QString& text) override {
        calls << QStringLiteral("name %1").arg(text);
        values.name = text;
    }
    void setNumber(const QString& text, qint16 DigitCount) override {
        calls << QStringLiteral("number %1 %2").arg(text).arg(DigitCount);
        values.number = text;
        digitCount = DigitCount;
    }
    void appendExtent(const QString& item) override {
        calls << QStringLiteral("extent %1").arg(item);
        values.extents << item;
    }
    void setExtentText(const QString& text) override {
        calls << QStringLiteral("extentText %1").arg(text);
    }
    void setCheck(SettingsCheck check, CheckValue value) override {
        calls << QStringLiteral("check %1 %2").arg(int(check)).arg(checkValueNumber(value));
        values.check(check) = value;
    }
    void setTop(int twips) override {
        calls << QStringLiteral("top %1").arg(twips);
        values.top = twips;
    }
    void setLeft(int twips) override {
        calls << QStringLiteral("left %1").arg(twips);
        values.left = twips;
    }
};

// The calls ApplyDefaultSettings makes when the chooser shows folder.
inline QStringList defaultCalls(const QString& folder) {
    QStringList calls{QStringLiteral("chooser")};
    // The folder boxes show it as the user reads it ("C:\\…" on Windows).
    for (int i = 0; i < 4; ++i)
        calls << QStringLiteral("folder %1 %2").arg(i).arg(nativePath(folder));
    calls << QStringLiteral("name GAZOU") << QStringLiteral("number 00001 5")
          << QStringLiteral("extent .JPG") << QStringLiteral("extent .JPEG")
          << QStringLiteral("extent .GIF") << QStringLiteral("extent .BMP")
          << QStringLiteral("extentText .JPG") << QStringLiteral("check 0 1")
          << QStringLiteral("check 1 1") << QStringLiteral("check 2 1")
          << QStringLiteral("check 3 0") << QStringLiteral("check 4 0");
    return calls;
}

}  // namespace quillo::test
