// libFuzzer target: any bytes as a settings file. The read must never crash,
// and whatever a successful read applied must come back unchanged after being
// written out and read again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/settings.h"

namespace {

// Accepts everything and keeps the values, as the window's controls would.
class ValuesTarget : public quillo::SettingsTarget {
  public:
    quillo::SettingsValues values;

    void setFolderText(quillo::SettingsFolder folder, const QString& text) override {
        values.folder(folder) = text;
    }
    bool pointChooser(const QString&) override { return true; }
    QString chooserFolder() override { return QStringLiteral("/"); }
    void setName(const QString& text) override { values.name = text; }
    void setNumber(const QString& text, qint16 DigitCount) override {
        if (DigitCount != text.size()) fail("DigitCount is not the number's length");
        values.number = text;
    }
    void appendExtent(const QString& item) override { values.extents << item; }
    void setExtentText(const QString&) override {}
    void setCheck(quillo::SettingsCheck check, quillo::CheckValue value) override {
        values.check(check) = value;
    }
    void setTop(int twips) override { values.top = twips; }
    void setLeft(int twips) override { values.left = twips; }

    [[noreturn]] static void fail(const char* why) {
        std::fprintf(stderr, "settings round trip: %s\n", why);
        std::abort();
    }
};

bool same(const quillo::SettingsValues& a, const quillo::SettingsValues& b) {
    return a.checks == b.checks && a.folders == b.folders && a.name == b.name &&
           a.number == b.number && a.extents == b.extents && a.top == b.top && a.left == b.left;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ValuesTarget first;
    if (!quillo::LoadSettings(bytes, first)) return 0;

    // The writer leaves out empty extension items.
    quillo::SettingsValues expected = first.values;
    expected.extents.removeAll(QString());
    const QByteArray written = quillo::encodeSettings(expected);
    ValuesTarget second;
    if (!quillo::LoadSettings(written, second))
        ValuesTarget::fail("the written file does not load");
    if (!same(second.values, expected)) ValuesTarget::fail("a value changed on the way");
    if (quillo::encodeSettings(second.values) != written)
        ValuesTarget::fail("the second write differs");
    return 0;
}
