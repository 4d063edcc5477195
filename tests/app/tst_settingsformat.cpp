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
    v.check(SettingsCheck::JpegJpg) = v.check(SettingsCheck::Refer) =
        v.check(SettingsCheck::Select) = CheckValue::On;
    v.folders = {QStringLiteral("/pict/ref"), QStringLiteral("/pict/new"),
                 QStringLiteral("/pict/done"), QStringLiteral("/pict/dup")};
    v.name = QStringLiteral("GAZOU");
    v.number = QStringLiteral("00001");
    v.extents = {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".GIF"),
                 QStringLiteral(".BMP")};
    v.top = 1200;
    v.left = -30;
    return v;
}

void compareValues(const SettingsValues& a, const SettingsValues& b) {
    QVERIFY(a.checks == b.checks);
    QCOMPARE(a.folders, b.folders);
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
        v.check(SettingsCheck::Delete) = CheckValue::Grey;
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

    void awkwardTextsSurviveARoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << QStringLiteral("/pict/a,b");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\"");
        QTest::newRow("leading blank") << QStringLiteral(" lead");
        QTest::newRow("trailing blank") << QStringLiteral("trail ");
        QTest::newRow("quote alone") << QStringLiteral("\"");
        QTest::newRow("comma alone") << QStringLiteral(",");
        QTest::newRow("blank alone") << QStringLiteral(" ");
        QTest::newRow("two lines") << QStringLiteral("two\r\nlines");
        QTest::newRow("CP932 only") << QStringLiteral("/写真/ファイル№～");
        QTest::newRow("empty") << QString();
    }

    void awkwardTextsSurviveARoundTrip() {
        QFETCH(QString, text);
        SettingsValues v = exampleValues();
        v.folders.fill(text);
        v.name = text;
        v.extents = {text.isEmpty() ? QStringLiteral(".X") : text, QStringLiteral(".JPG")};
        const QByteArray bytes = encodeSettings(v);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        RecordingTarget t;
        QVERIFY(LoadSettings(bytes, t));
        compareValues(t.values, v);
    }

    void quotingOnlyWhereNeeded() {
        // Quoting doubles inner quotes and only happens where needed.
        SettingsValues v = exampleValues();
        v.name = QStringLiteral("a \"b\", c ");
        QVERIFY(encodeSettings(v).contains(line(kName, "\"a \"\"b\"\", c \"")));
        v.name = QStringLiteral("a b");
        QVERIFY(encodeSettings(v).contains(line(kName, "a b")));
    }

    void charactersOutsideCp932GoOutInUtf8_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin") << QStringLiteral("/photos/café");
        QTest::newRow("outside the plane") << QStringLiteral("𠮷野家");
        QTest::newRow("wave dash") << QStringLiteral("wave〜dash");
    }

    void charactersOutsideCp932GoOutInUtf8() {
        QFETCH(QString, text);
        SettingsValues v = exampleValues();
        v.folder(SettingsFolder::Move) = text;
        const QByteArray bytes = encodeSettings(v);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.contains(text.toUtf8()));
        QVERIFY(bytes.contains(QStringLiteral("ファイル№,00001\r\n").toUtf8()));
        RecordingTarget t;
        QVERIFY(LoadSettings(bytes, t));
        compareValues(t.values, v);
    }

    void checkValues_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("value");  // -1: the read fails
        QTest::newRow("blanks around") << QByteArray(" 1 ") << 1;
        QTest::newRow("off") << QByteArray("0") << 0;
        QTest::newRow("grey") << QByteArray("2") << 2;
        QTest::newRow("leading blanks") << QByteArray("  2") << 2;
        QTest::newRow("letter") << QByteArray("x") << -1;
        QTest::newRow("blank") << QByteArray(" ") << -1;
        QTest::newRow("trailing letter") << QByteArray("1x") << -1;
        QTest::newRow("too big") << QByteArray("3") << -1;
        QTest::newRow("negative") << QByteArray("-1") << -1;
        QTest::newRow("fraction") << QByteArray("1.5") << -1;
        QTest::newRow("overflow") << QByteArray("99999999999") << -1;
    }

    // Check values: an integer with blanks around it, 0 to 2.
    void checkValues() {
        QFETCH(QByteArray, field);
        QFETCH(int, value);
        RecordingTarget t;
        QCOMPARE(LoadSettings(line(kMoveCheck, field) + line(kName, "X"), t), value >= 0);
        if (value >= 0)
            QCOMPARE(t.values.check(SettingsCheck::Move), *checkValueFromNumber(value));
        else
            QVERIFY(t.calls.isEmpty());
    }

    void badBytesFailTheRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("folder holding NUL") << line(kSelectFolder, QByteArray("/a\0b", 4));
        QTest::newRow("open quote") << line(kName, "\"open");
        QTest::newRow("text after quote") << line(kName, "\"a\"b");
        QTest::newRow("doubled quote at the end") << kName + ",\"x\"\"";
        QTest::newRow("not CP932") << line(kName, "\x81");
        QTest::newRow("not UTF-8") << QByteArray("\xEF\xBB\xBF") + line("k", "\xC3(");
    }

    // Malformed quoting, bytes that are not CP932 and a folder holding NUL fail the read.
    void badBytesFailTheRead() {
        QFETCH(QByteArray, bytes);
        RecordingTarget t;
        QVERIFY(!LoadSettings(bytes, t));
    }

    void readerOddCases() {
        // A file that ends after a key fails; what came before has been applied.
        {
            RecordingTarget t;
            QVERIFY(!LoadSettings(line(kName, "X") + kTop, t));
            QCOMPARE(t.calls, QStringList{QStringLiteral("name X")});
            QVERIFY(!LoadSettings(line(kName, "X") + kTop + ',', t));
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
