// The CP932 codec: the characters Windows' code page holds (and plain
// Shift-JIS lacks), and refusal of everything else rather than a "?".
#include <QtTest>

#include "platform/cp932codec.h"

using namespace quillo;

class TstCp932Codec : public QObject {
    Q_OBJECT
  private slots:
    void windowsCharactersRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("numero") << QStringLiteral("№") << QByteArray::fromHex("8782");
        QTest::newRow("wave") << QStringLiteral("～") << QByteArray::fromHex("8160");
        QTest::newRow("key") << QStringLiteral("ファイル№")
                             << QByteArray::fromHex("837483408343838b8782");
        QTest::newRow("ascii") << QStringLiteral("\\~/pict") << QByteArrayLiteral("\\~/pict");
        QTest::newRow("half-width and circled")
            << QStringLiteral("ｶﾞｿﾞｳ①") << QByteArray::fromHex("b6debfdeb38740");
        QTest::newRow("empty") << QString() << QByteArray();
    }

    void windowsCharactersRoundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> encoded = encodeCp932(text);
        QVERIFY(encoded.has_value());
        QCOMPARE(encoded->toHex(), bytes.toHex());
        QCOMPARE(decodeCp932(*encoded).value_or(QStringLiteral("<none>")), text);
    }

    void refusesWhatItCannotHold_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin") << QStringLiteral("café");
        QTest::newRow("outside the plane") << QStringLiteral("𠮷");
        QTest::newRow("hangul") << QStringLiteral("한국");
        QTest::newRow("wave dash") << QStringLiteral("〜");
        QTest::newRow("at the end") << QStringLiteral("ok then é");
    }

    void refusesWhatItCannotHold() {
        QFETCH(QString, text);
        QVERIFY(!encodeCp932(text).has_value());
    }

    void decodesOnlyWholeCharacters_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");  // empty: refused
        QTest::newRow("lead byte without trail") << QByteArray::fromHex("4183") << QString();
        QTest::newRow("unused bytes") << QByteArray::fromHex("81ff") << QString();
        QTest::newRow("plain") << QByteArray::fromHex("41") << QStringLiteral("A");
    }

    void decodesOnlyWholeCharacters() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeCp932(bytes).value_or(QString()), text);
        QCOMPARE(decodeCp932(bytes).has_value(), !text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstCp932Codec)
#include "tst_cp932codec.moc"
