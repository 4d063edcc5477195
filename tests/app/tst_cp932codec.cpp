// The CP932 codec: the characters Windows' code page holds (and plain
// Shift-JIS lacks), and refusal of everything else rather than a "?".
#include <QtTest>

#include "platform/cp932codec.h"

using namespace quillo;

class TstCp932Codec : public QObject {
    Q_OBJECT
  private slots:
    void windowsCharactersRoundTrip() {
        const struct {
            QString text;
            QByteArray bytes;
        } cases[] = {
            {QStringLiteral("№"), QByteArray::fromHex("8782")},
            {QStringLiteral("～"), QByteArray::fromHex("8160")},
            {QStringLiteral("ファイル№"), QByteArray::fromHex("837483408343838b8782")},
            {QStringLiteral("\\~/pict"), QByteArrayLiteral("\\~/pict")},
            {QStringLiteral("ｶﾞｿﾞｳ①"), QByteArray::fromHex("b6debfdeb3"
                                                           "8740")},
            {QString(), QByteArray()},
        };
        for (const auto& c : cases) {
            const std::optional<QByteArray> bytes = encodeCp932(c.text);
            QVERIFY2(bytes.has_value(), qPrintable(c.text));
            QCOMPARE(bytes->toHex(), c.bytes.toHex());
            QCOMPARE(decodeCp932(*bytes).value_or(QStringLiteral("<none>")), c.text);
        }
    }

    void refusesWhatItCannotHold() {
        for (const QString& text :
             {QStringLiteral("café"), QStringLiteral("𠮷"), QStringLiteral("한국"),
              QStringLiteral("〜"), QStringLiteral("ok then é")}) {
            QVERIFY2(!encodeCp932(text).has_value(), qPrintable(text));
        }
        // A lead byte without its trail byte, and bytes no character uses.
        QVERIFY(!decodeCp932(QByteArray::fromHex("4183")).has_value());
        QVERIFY(!decodeCp932(QByteArray::fromHex("81ff")).has_value());
        QCOMPARE(decodeCp932(QByteArray::fromHex("41")).value_or(QString()), QStringLiteral("A"));
    }
};

QTEST_GUILESS_MAIN(TstCp932Codec)
#include "tst_cp932codec.moc"
