// The settings file's bytes: the exact format written, the order in which a
// file's records reach the window, quoted texts, and files that are faulty.
#include <QtTest>

#include "app/settings.h"
#include "recordingtarget.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// Keys in CP932, spelt out byte by byte so the test does not lean on the codec.
QByteArray key(const char* hex) {
    return QByteArray::fromHex(hex);
}
const QByteArray kJpegJpg = key("95cf8ab7836083468362834e");
const QByteArray kReferCheck = key("8e518fc6836083468362834e");
const QByteArray kSelectCheck = key("928a8f6f836083468362834e");
const QByteArray kMoveCheck = key("88da93ae836083468362834e");
const QByteArray kDeleteCheck = key("8ded8f9c836083468362834e");
const QByteArray kReferFolder = key("8e518fc683748348838b835f");
const QByteArray kSelectFolder = key("928a8f6f83748348838b835f");
const QByteArray kMoveFolder = key("88da93ae83748348838b835f");
const QByteArray kDeleteFolder = key("8ded8f9c83748348838b835f");
const QByteArray kName = key("837483408343838b96bc");
const QByteArray kNumber = key("837483408343838b8782");  // "ファイル№"
const QByteArray kExtent = key("8eaf95ca8e71");
const QByteArray kTop = key("8fe388ca9275");
const QByteArray kLeft = key("8db688ca9275");

QByteArray line(const QByteArray& k, const QByteArray& value) {
    return k + ',' + value + "\r\n";
}

// The example file, with Linux folders.
QByteArray exampleBytes() {
    return line(kJpegJpg, " 1 ") + line(kReferCheck, " 1 ") + line(kSelectCheck, " 1 ") +
           line(kMoveCheck, " 0 ") + line(kDeleteCheck, " 0 ") + line(kReferFolder, "/pict/ref") +
           line(kSelectFolder, "/pict/new") + line(kMoveFolder, "/pict/done") +
           line(kDeleteFolder, "/pict/dup") + line(kName, "GAZOU") + line(kNumber, "00001") +
           line(kExtent, ".JPG") + line(kExtent, ".JPEG") + line(kExtent, ".GIF") +
           line(kExtent, ".BMP") + line(kTop, " 1200 ") + line(kLeft, " -30 ");
}

SettingsValues exampleValues() {
    SettingsValues v;
    v.checks[0] = v.checks[1] = v.checks[2] = 1;
    v.folders[0] = QStringLiteral("/pict/ref");
    v.folders[1] = QStringLiteral("/pict/new");
    v.folders[2] = QStringLiteral("/pict/done");
    v.folders[3] = QStringLiteral("/pict/dup");
    v.name = QStringLiteral("GAZOU");
    v.number = QStringLiteral("00001");
    v.extents = {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".GIF"),
                 QStringLiteral(".BMP")};
    v.top = 1200;
    v.left = -30;
    return v;
}

void compareValues(const SettingsValues& a, const SettingsValues& b) {
    for (int i = 0; i < 5; ++i) QCOMPARE(a.checks[i], b.checks[i]);
    for (int i = 0; i < 4; ++i) QCOMPARE(a.folders[i], b.folders[i]);
    QCOMPARE(a.name, b.name);
    QCOMPARE(a.number, b.number);
    QCOMPARE(a.extents, b.extents);
    QCOMPARE(a.top, b.top);
    QCOMPARE(a.left, b.left);
}

// Loads bytes, which must succeed, and returns what arrived.
RecordingTarget load(const QByteArray& bytes) {
    RecordingTarget t;
    if (!LoadSettings(bytes, t)) qWarning("load failed: %s", bytes.toHex().constData());
    return t;
}

}  // namespace

class TstSettingsFormat : public QObject {
    Q_OBJECT
  private slots:
    void exampleIsWrittenByteForByte() {
        const QByteArray bytes = encodeSettings(exampleValues());
        QCOMPARE(bytes, exampleBytes());
        QVERIFY(bytes.contains(QByteArray::fromHex("83748340834383"
                                                   "8b8782") +
                               ",00001\r\n"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        // Every line ends with CR LF, and there is no bare LF.
        QCOMPARE(bytes.count("\r\n"), 17);
        QCOMPARE(bytes.count('\n'), 17);

        // Empty extension items are skipped; an empty list writes no record.
        SettingsValues v = exampleValues();
        v.extents = {QString(), QStringLiteral(".PNG"), QString()};
        QCOMPARE(encodeSettings(v).count(kExtent + ','), 1);
        v.extents.clear();
        QVERIFY(!encodeSettings(v).contains(kExtent));
        // Numbers: a blank or a minus sign in front, one blank after.
        v.top = 0;
        v.left = -2147483647 - 1;
        QVERIFY(encodeSettings(v).endsWith(line(kTop, " 0 ") + line(kLeft, " -2147483648 ")));
        v.checks[4] = 2;
        QVERIFY(encodeSettings(v).contains(line(kDeleteCheck, " 2 ")));
    }

    void exampleLoadsInFileOrder() {
        RecordingTarget t;
        QVERIFY(LoadSettings(exampleBytes(), t));
        const QStringList expected{QStringLiteral("check 0 1"),
                                   QStringLiteral("check 1 1"),
                                   QStringLiteral("check 2 1"),
                                   QStringLiteral("check 3 0"),
                                   QStringLiteral("check 4 0"),
                                   QStringLiteral("folder 0 /pict/ref"),
                                   QStringLiteral("folder 1 /pict/new"),
                                   QStringLiteral("point /pict/new"),
                                   QStringLiteral("folder 2 /pict/done"),
                                   QStringLiteral("folder 3 /pict/dup"),
                                   QStringLiteral("name GAZOU"),
                                   QStringLiteral("number 00001 5"),
                                   QStringLiteral("extent .JPG"),
                                   QStringLiteral("extent .JPEG"),
                                   QStringLiteral("extent .GIF"),
                                   QStringLiteral("extent .BMP"),
                                   QStringLiteral("top 1200"),
                                   QStringLiteral("left -30")};
        QCOMPARE(t.calls, expected);
        compareValues(t.values, exampleValues());
    }

    void awkwardTextsSurviveARoundTrip() {
        const QStringList texts{QStringLiteral("/pict/a,b"),
                                QStringLiteral("say \"hi\""),
                                QStringLiteral(" lead"),
                                QStringLiteral("trail "),
                                QStringLiteral("\""),
                                QStringLiteral(","),
                                QStringLiteral(" "),
                                QStringLiteral("two\r\nlines"),
                                QStringLiteral("/写真/ファイル№～"),
                                QString()};
        for (const QString& text : texts) {
            SettingsValues v = exampleValues();
            v.folders[0] = v.folders[1] = v.folders[2] = v.folders[3] = text;
            v.name = text;
            v.extents = {text.isEmpty() ? QStringLiteral(".X") : text, QStringLiteral(".JPG")};
            const QByteArray bytes = encodeSettings(v);
            QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), qPrintable(text));
            RecordingTarget t;
            QVERIFY2(LoadSettings(bytes, t), qPrintable(text));
            compareValues(t.values, v);
        }
        // Quoting doubles inner quotes and only happens where needed.
        SettingsValues v = exampleValues();
        v.name = QStringLiteral("a \"b\", c ");
        QVERIFY(encodeSettings(v).contains(line(kName, "\"a \"\"b\"\", c \"")));
        v.name = QStringLiteral("a b");
        QVERIFY(encodeSettings(v).contains(line(kName, "a b")));
    }

    void charactersOutsideCp932GoOutInUtf8() {
        for (const QString& text : {QStringLiteral("/photos/café"), QStringLiteral("𠮷野家"),
                                    QStringLiteral("wave〜dash")}) {
            SettingsValues v = exampleValues();
            v.folders[2] = text;
            const QByteArray bytes = encodeSettings(v);
            QVERIFY2(bytes.startsWith("\xEF\xBB\xBF"), qPrintable(text));
            QVERIFY(bytes.contains(text.toUtf8()));
            QVERIFY(bytes.contains(QStringLiteral("ファイル№,00001\r\n").toUtf8()));
            RecordingTarget t;
            QVERIFY(LoadSettings(bytes, t));
            compareValues(t.values, v);
        }
    }

    void readerOddCases() {
        // A file that ends after a key fails; what came before has been applied.
        {
            RecordingTarget t;
            QVERIFY(!LoadSettings(line(kName, "X") + kTop, t));
            QCOMPARE(t.calls, QStringList{QStringLiteral("name X")});
            QVERIFY(!LoadSettings(line(kName, "X") + kTop + ',', t));
        }
        // Check values: an integer with blanks around it, 0 to 2.
        for (const char* ok : {" 1 ", "0", "2", "  2"}) {
            RecordingTarget t;
            QVERIFY2(LoadSettings(line(kMoveCheck, ok), t), ok);
            QCOMPARE(t.values.checks[3], QByteArray(ok).trimmed().toInt());
        }
        for (const char* bad : {"x", " ", "1x", "3", "-1", "1.5", "99999999999"}) {
            RecordingTarget t;
            QVERIFY2(!LoadSettings(line(kMoveCheck, bad) + line(kName, "X"), t), bad);
            QVERIFY(t.calls.isEmpty());
        }
        // Positions take the leading number and never fail.
        {
            const RecordingTarget t = load(line(kTop, " 1200 ") + line(kLeft, "abc") +
                                           line(kTop, "12.7") + line(kLeft, "  -45px"));
            QCOMPARE(t.calls, (QStringList{QStringLiteral("top 1200"), QStringLiteral("left 0"),
                                           QStringLiteral("top 12"), QStringLiteral("left -45")}));
            const RecordingTarget huge =
                load(line(kTop, "99999999999999999999") + line(kLeft, "-99999999999999999999"));
            QCOMPARE(huge.values.top, 2147483647);
            QCOMPARE(huge.values.left, -2147483647 - 1);
        }
        // Unknown keys are ignored with their values; keys compare exactly.
        {
            const RecordingTarget t = load(line("Version", "3") + line(kName + "2", "X") +
                                           line(kName, "Y") + line("", ""));
            QCOMPARE(t.calls, QStringList{QStringLiteral("name Y")});
        }
        // The number's length is DigitCount, leading zeros included.
        QCOMPARE(load(line(kNumber, "0100")).calls, QStringList{QStringLiteral("number 0100 4")});
        // A chooser that cannot show the extraction folder no longer ends the read.
        {
            RecordingTarget t;
            t.chooserShows = false;
            QVERIFY(LoadSettings(line(kSelectFolder, "/gone") + line(kNumber, "00042"), t));
            QCOMPARE(t.calls,
                     (QStringList{QStringLiteral("folder 1 /gone"), QStringLiteral("point /gone"),
                                  QStringLiteral("number 00042 5")}));
        }
        // Fields, not lines: an unquoted comma shifts every later pair, so that
        // one comma leaves the file ending after a key; two realign the pairs.
        {
            RecordingTarget t;
            QVERIFY(!LoadSettings(line(kName, "a,b") + line(kExtent, ".JPG") + line(kTop, "5"), t));
            QCOMPARE(t.calls, QStringList{QStringLiteral("name a")});
            QCOMPARE(load(line(kName, "a,b,c") + line(kExtent, ".JPG") + line(kTop, "5")).calls,
                     (QStringList{QStringLiteral("name a"), QStringLiteral("extent .JPG"),
                                  QStringLiteral("top 5")}));
        }
        // Blanks before a field are skipped, trailing blanks of an unquoted field
        // dropped; LF or CR alone end a line; blank lines before a key are skipped.
        QCOMPARE(load(kName + ",   GAZOU  \n" + kExtent + ", .JPG\r\r\n  \r\n\r\n").calls,
                 (QStringList{QStringLiteral("name GAZOU"), QStringLiteral("extent .JPG")}));
        // An empty value is a value.
        QCOMPARE(load(line(kExtent, "")).calls, QStringList{QStringLiteral("extent ")});
        QCOMPARE(load(QByteArray()).calls, QStringList());
        // Malformed quoting, bytes that are not CP932 and a folder holding NUL
        // fail the read.
        for (const QByteArray& bad :
             {line(kSelectFolder, QByteArray("/a\0b", 4)), line(kName, "\"open"),
              line(kName, "\"a\"b"), kName + ",\"x\"\"", line(kName, "\x81"),
              QByteArray("\xEF\xBB\xBF") + line("k", "\xC3(")}) {
            RecordingTarget t;
            QVERIFY2(!LoadSettings(bad, t), bad.toHex().constData());
        }
        // A quoted field may be followed by blanks before its delimiter.
        QCOMPARE(load(kName + ",\"a b\"  \r\n").calls, QStringList{QStringLiteral("name a b")});
    }

    void defaultsInTheirOrder() {
        RecordingTarget t;
        t.chooserAt = QStringLiteral("/home/user");
        ApplyDefaultSettings(t);
        QCOMPARE(t.calls, defaultCalls(QStringLiteral("/home/user")));
        QCOMPARE(t.digitCount, qint16(5));
    }
};

QTEST_GUILESS_MAIN(TstSettingsFormat)
#include "tst_settingsformat.moc"
