// The extension list: validate and add, remove, and the reorder after a pick.
#include <QtTest>

#include "collect/extensionlist.h"

using namespace quillo;

namespace {

QStringList defaults() {
    return {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".GIF"),
            QStringLiteral(".BMP")};
}

ExtentList withText(const QString& text, QStringList items = defaults()) {
    return ExtentList{std::move(items), text};
}

}  // namespace

class TstExtensionList : public QObject {
    Q_OBJECT
  private slots:
    void refusedTextFallsBack_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("no dot") << QStringLiteral("png");
        QTest::newRow("dot alone") << QStringLiteral(".");
        QTest::newRow("digit") << QStringLiteral(".tiff2");
        QTest::newRow("star") << QStringLiteral(".j*g");
        QTest::newRow("question mark") << QStringLiteral(".j?g");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("   ");
    }

    // Refused texts fall back to entry 0 and leave the list alone.
    void refusedTextFallsBack() {
        QFETCH(QString, text);
        ExtentList r = withText(text);
        validateAndAdd(r);
        QCOMPARE(r.text, QStringLiteral(".JPG"));
        QCOMPARE(r.items, defaults());
    }

    void validateAndAddCases() {
        // Spaces around are removed and the new text goes first.
        ExtentList l = withText(QStringLiteral(" .png "));
        validateAndAdd(l);
        QCOMPARE(l.text, QStringLiteral(".png"));
        QCOMPARE(l.items, QStringList({QStringLiteral(".png")}) + defaults());

        // Full-width spaces at the ends are removed too.
        ExtentList wide = withText(QStringLiteral("　.heic　"));
        validateAndAdd(wide);
        QCOMPARE(wide.text, QStringLiteral(".heic"));

        // Known text: nothing moves, empty items stay as they were.
        ExtentList known = withText(QStringLiteral(".GIF"),
                                    {QStringLiteral(".JPG"), QString(), QStringLiteral(".GIF")});
        validateAndAdd(known);
        QCOMPARE(known.text, QStringLiteral(".GIF"));
        QCOMPARE(known.items,
                 QStringList({QStringLiteral(".JPG"), QString(), QStringLiteral(".GIF")}));

        // Letter case counts: a new entry at the top, empty items dropped.
        ExtentList lower = withText(QStringLiteral(".gif"),
                                    {QStringLiteral(".JPG"), QString(), QStringLiteral(".GIF")});
        validateAndAdd(lower);
        QCOMPARE(lower.items, QStringList({QStringLiteral(".gif"), QStringLiteral(".JPG"),
                                           QStringLiteral(".GIF")}));
        QCOMPARE(lower.text, QStringLiteral(".gif"));

        // A two-character text is valid; an empty list gives an empty fallback.
        ExtentList two = withText(QStringLiteral(".c"), {});
        validateAndAdd(two);
        QCOMPARE(two.items, QStringList({QStringLiteral(".c")}));
        ExtentList none = withText(QStringLiteral("bad"), {});
        validateAndAdd(none);
        QCOMPARE(none.text, QString());
        QVERIFY(none.items.isEmpty());
    }

    void noCapacityLimit() {
        QStringList many;
        for (int i = 0; i < 1500; ++i)
            many << QStringLiteral(".%1").arg(i, 4, 36, QLatin1Char('0'));
        ExtentList l = withText(QStringLiteral(".new"), many);
        validateAndAdd(l);
        QCOMPARE(l.items.size(), 1501);
        QCOMPARE(l.items.last(), many.last());
    }

    void removeCases() {
        ExtentList l = withText(QStringLiteral(".GIF"));
        removeCurrent(l);
        QCOMPARE(l.items, QStringList({QStringLiteral(".JPG"), QStringLiteral(".JPEG"),
                                       QStringLiteral(".BMP")}));
        QCOMPARE(l.text, QStringLiteral(".JPG"));

        ExtentList single = withText(QStringLiteral(".JPG"), {QStringLiteral(".JPG")});
        removeCurrent(single);
        QCOMPARE(single.items, QStringList({QStringLiteral(".JPG")}));
        QCOMPARE(single.text, QStringLiteral(".JPG"));

        // A text in no entry removes only the empty ones and shows the first.
        ExtentList other = withText(QStringLiteral(".xyz"),
                                    {QString(), QStringLiteral(".GIF"), QStringLiteral(".BMP")});
        removeCurrent(other);
        QCOMPARE(other.items, QStringList({QStringLiteral(".GIF"), QStringLiteral(".BMP")}));
        QCOMPARE(other.text, QStringLiteral(".GIF"));

        // Every copy of the text goes; removing the last real entry is refused.
        ExtentList copies =
            withText(QStringLiteral(".GIF"),
                     {QStringLiteral(".GIF"), QStringLiteral(".PNG"), QStringLiteral(".GIF")});
        removeCurrent(copies);
        QCOMPARE(copies.items, QStringList({QStringLiteral(".PNG")}));
        ExtentList last = withText(QStringLiteral(".JPG"), {QStringLiteral(".JPG"), QString()});
        removeCurrent(last);
        QCOMPARE(last.items, QStringList({QStringLiteral(".JPG"), QString()}));
        QCOMPARE(last.text, QStringLiteral(".JPG"));
    }

    void refreshAfterPickCases() {
        ExtentList l = withText(
            QStringLiteral(".GIF"),
            {QStringLiteral(".JPG"), QString(), QStringLiteral(".GIF"), QStringLiteral(".JPG")});
        refreshAfterPick(l);
        QCOMPARE(l.items, QStringList({QStringLiteral(".GIF"), QStringLiteral(".JPG"),
                                       QStringLiteral(".JPG")}));
        QCOMPARE(l.text, QStringLiteral(".GIF"));

        ExtentList bmp = withText(QStringLiteral(".BMP"));
        refreshAfterPick(bmp);
        QCOMPARE(bmp.items, QStringList({QStringLiteral(".BMP"), QStringLiteral(".JPG"),
                                         QStringLiteral(".JPEG"), QStringLiteral(".GIF")}));
        QCOMPARE(bmp.text, QStringLiteral(".BMP"));
    }
};

QTEST_APPLESS_MAIN(TstExtensionList)
#include "tst_extensionlist.moc"
