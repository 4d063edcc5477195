// The two input checks: the name check of txtName and the running number's
// normalisation and advance.
#include <QtTest>

#include "numbering/namecheck.h"
#include "numbering/number.h"

using namespace quillo;

namespace {

// What the window does on a change of txtName: repeat the pass on its own
// change until the text is clean, counting the notices.
QString checkedName(QString text, int* notices) {
    *notices = 0;
    while (const std::optional<QString> repaired = nameCheckPass(text)) {
        ++*notices;
        text = *repaired;
    }
    return text;
}

}  // namespace

class TstNumberSettings : public QObject {
    Q_OBJECT
  private slots:
    void nameCheckMessage() {
        QCOMPARE(forbiddenNameMessage(),
                 QString::fromUtf8("\\/:*?<>|\"はファイル名に指定出来ません"));
    }

    void nameCheckRemovesOnePerPass() {
        QCOMPARE(nameCheckPass(QStringLiteral("a:b*c")), std::optional(QStringLiteral("ab*c")));
        int notices = 0;
        QCOMPARE(checkedName(QStringLiteral("a:b*c"), &notices), QStringLiteral("abc"));
        QCOMPARE(notices, 2);

        QCOMPARE(checkedName(QStringLiteral("GAZOU:"), &notices), QStringLiteral("GAZOU"));
        QCOMPARE(notices, 1);
        QCOMPARE(checkedName(QStringLiteral("写\"真"), &notices), QStringLiteral("写真"));
        QCOMPARE(notices, 1);

        // Each of the nine, and nothing else.
        QCOMPARE(checkedName(QStringLiteral("\\a/b:c*d?e<f>g|h\"i"), &notices),
                 QStringLiteral("abcdefghi"));
        QCOMPARE(notices, 9);
        QVERIFY(!nameCheckPass(QStringLiteral("画像 .-_(1)")).has_value());
        QVERIFY(!nameCheckPass(QString()).has_value());
    }

    void nameCheckCutsAfterTheRemovedCharacter() {
        const QString tail = QString(120, u'x');
        const std::optional<QString> once = nameCheckPass(QStringLiteral("ab:") + tail);
        QVERIFY(once.has_value());
        QCOMPARE(*once, QStringLiteral("ab") + QString(99, u'x'));

        // Exactly 99 after it: all kept.
        QCOMPARE(*nameCheckPass(QLatin1Char(':') + QString(99, u'y')), QString(99, u'y'));

        // A later forbidden character beyond the cut disappears with the cut.
        int notices = 0;
        QCOMPARE(checkedName(QLatin1Char('*') + QString(100, u'z') + QLatin1Char('?'), &notices),
                 QString(99, u'z'));
        QCOMPARE(notices, 1);

        // The cut never leaves half of a character outside the basic plane.
        const QString wide = QString(98, u'w') + QString::fromUtf8("😀") + QStringLiteral("end");
        const QString cut = *nameCheckPass(QLatin1Char('<') + wide);
        QCOMPARE(cut, QString(98, u'w'));
        QVERIFY(!cut.back().isHighSurrogate());
    }

    void normaliseKeepsTheTypedWidth() {
        struct Case {
            const char* in;
            const char* out;
            int digits;
        };
        const Case cases[] = {
            {"", "0", 1},
            {"12a", "012", 3},
            {"abc", "000", 3},
            {"00000001", "00000001", 8},
            {"00100", "00100", 5},
            {"0012", "0012", 4},
            {"7", "7", 1},
            {"5", "5", 1},
            {"99999999", "99999999", 8},
            // Sign, decimal point and exponent: the magnitude of the integer
            // part; an exponent letter ends the number like any letter.
            {"12.5", "0012", 4},
            {"-3", "03", 2},
            {"+5", "05", 2},
            {"1e2", "001", 3},
            {" 7", "07", 2},
            {"a12", "000", 3},
            {"-", "0", 1},
        };
        for (const Case& c : cases) {
            const NormalisedNumber n = normaliseNumber(QString::fromUtf8(c.in));
            QVERIFY2(n.text == QString::fromUtf8(c.out) && n.DigitCount == c.digits,
                     qPrintable(QStringLiteral("%1 -> %2 (%3)")
                                    .arg(QString::fromUtf8(c.in), n.text)
                                    .arg(n.DigitCount)));
            QCOMPARE(n.text.size(), n.DigitCount);
        }
        // Longer than the box allows (a hand-edited settings file): the width
        // stays within eight.
        const NormalisedNumber long9 = normaliseNumber(QStringLiteral("123456789"));
        QCOMPARE(long9.DigitCount, qint16(8));
        QCOMPARE(long9.text, QStringLiteral("23456789"));
    }

    void advanceCountsAndWraps() {
        QCOMPARE(advanceNumber(QStringLiteral("00001"), 5), QStringLiteral("00002"));
        QCOMPARE(advanceNumber(QStringLiteral("00007"), 5), QStringLiteral("00008"));
        QCOMPARE(advanceNumber(QStringLiteral("00099"), 5), QStringLiteral("00100"));
        QCOMPARE(advanceNumber(QStringLiteral("99999"), 5), QStringLiteral("00000"));
        QCOMPARE(advanceNumber(QStringLiteral("9"), 1), QStringLiteral("0"));
        QCOMPARE(advanceNumber(QStringLiteral("99999999"), 8), QStringLiteral("00000000"));
        QCOMPARE(advanceNumber(QStringLiteral("12a"), 3), QStringLiteral("013"));
        QCOMPARE(advanceNumber(QStringLiteral("abc"), 3), QStringLiteral("001"));
        QCOMPARE(advanceNumber(QStringLiteral("12.5"), 4), QStringLiteral("0013"));
        QCOMPARE(advanceNumber(QStringLiteral("-3"), 2), QStringLiteral("04"));
        QCOMPARE(advanceNumber(QStringLiteral("1e2"), 3), QStringLiteral("002"));
        // A width different from the text's own length: the width counts.
        QCOMPARE(advanceNumber(QStringLiteral("7"), 5), QStringLiteral("00008"));
        QCOMPARE(advanceNumber(QStringLiteral("00123"), 2), QStringLiteral("24"));
    }

    void advanceWithoutUsableWidth() {
        // No width read from the settings file: the number text's own width.
        QCOMPARE(advanceNumber(QStringLiteral("00001"), 0), QStringLiteral("00002"));
        QCOMPARE(advanceNumber(QStringLiteral("00009"), -4), QStringLiteral("00010"));
        QCOMPARE(advanceNumber(QString(), 0), QStringLiteral("1"));
        // Never wider than the box.
        QCOMPARE(advanceNumber(QStringLiteral("000000000041"), 12), QStringLiteral("00000042"));
        QCOMPARE(advanceNumber(QStringLiteral("1"), 32767), QStringLiteral("00000002"));
    }
};

QTEST_APPLESS_MAIN(TstNumberSettings)
#include "tst_numbersettings.moc"
