// The picture pane: what it shows for each kind of file, alone and side by
// side, fitted to its area before and after a resize, as a screen reader reads
// it; and that a picture replaced before it arrived never shows.
#include <QAccessible>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

#include "faultyfilesystem.h"
#include "files.h"
#include "ui/preview/picturepane.h"
#include "ui/preview/pictureview.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// The real disk for the loading threads: opening the gated path waits for the
// gate, and failOpen fails as a refused open would.
class GatedFileSystem : public FaultyFileSystem {
  public:
    QString gated;
    QSemaphore gate;
    std::atomic<bool> entered{false};
    Result<std::unique_ptr<InputFile>> openRead(const QString& path) override {
        if (path == gated) {
            entered = true;
            gate.acquire();
        }
        if (failOpen.contains(path)) return readFailureOfCode(failOpen.value(path));
        return real.openRead(path);
    }
};

// A picture shading from blue at its top to orange at its bottom; a sideways
// one is stored with that shading from its left to its right, as a camera
// stores a portrait photo before the EXIF turns it.
void writePicture(const QString& path, QSize size, const char* format, bool sideways = false) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, sideways ? size.width() : 0, sideways ? 0 : size.height());
    gradient.setColorAt(0, QColor(30, 90, 160));
    gradient.setColorAt(1, QColor(230, 170, 60));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QVERIFY2(image.save(path, format, 90), qPrintable(path));
}

// The JPEG at path marked as taken with the camera turned (EXIF orientation 6:
// shown turned a quarter clockwise), as a camera marks a portrait photo.
void markTurned(const QString& path) {
    const QByteArray tiff = QByteArray::fromHex(
        "4d4d002a00000008"
        "0001"
        "011200030000000100060000"
        "00000000");
    const QByteArray payload = QByteArray("Exif", 4) + QByteArray(2, '\0') + tiff;
    QByteArray segment = QByteArray::fromHex("ffe1");
    segment += char((payload.size() + 2) >> 8);
    segment += char((payload.size() + 2) & 0xff);
    QByteArray bytes = readFile(path);
    bytes.insert(2, segment + payload);  // after the start-of-image marker
    QFile::remove(path);
    writeFile(path, bytes);
}

bool webpSupported() {
    return QImageWriter::supportedImageFormats().contains("webp");
}

// Every text a screen reader finds under interface: names and descriptions.
QStringList accessibleTexts(QAccessibleInterface* interface) {
    QStringList texts{interface->text(QAccessible::Name),
                      interface->text(QAccessible::Description)};
    for (int i = 0; i < interface->childCount(); ++i) texts += accessibleTexts(interface->child(i));
    return texts;
}

// The picture side shows is upright (blue at the top), fits its area, keeps the
// aspect ratio of a picture of pixels, and fills the area along one edge
// unless it would be enlarged.
void checkFitted(const QImage& image, QSize pixels, QSize area) {
    const QColor top = image.pixelColor(image.width() / 2, 0);
    const QColor bottom = image.pixelColor(image.width() / 2, image.height() - 1);
    QVERIFY2(top.blue() > top.red() && bottom.red() > bottom.blue(), "shown upright");
    QVERIFY2(image.width() <= area.width() && image.height() <= area.height(),
             qPrintable(QStringLiteral("%1×%2 in %3×%4")
                            .arg(image.width())
                            .arg(image.height())
                            .arg(area.width())
                            .arg(area.height())));
    if (pixels.width() <= area.width() && pixels.height() <= area.height()) {
        QCOMPARE(image.size(), pixels);
        return;
    }
    QVERIFY(image.width() == area.width() || image.height() == area.height());
    const qint64 skew =
        qAbs(qint64(image.width()) * pixels.height() - qint64(image.height()) * pixels.width());
    QVERIFY2(skew <= qMax(pixels.width(), pixels.height()),
             qPrintable(QStringLiteral("%1×%2 from %3×%4")
                            .arg(image.width())
                            .arg(image.height())
                            .arg(pixels.width())
                            .arg(pixels.height())));
}

}  // namespace

class TstPicturePane : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void showsEachKindOfFile_data();
    void showsEachKindOfFile();
    void replacedPictureNeverShows();

  private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    bool m_pipe = false;  // 管.jpg is a pipe: none where pipes are never among files
};

void TstPicturePane::initTestCase() {
    QVERIFY(m_dir.isValid());
    writePicture(path(QStringLiteral("写真 1.jpg")), {1600, 1200}, "jpg");
    writePicture(path(QStringLiteral("縦.png")), {600, 900}, "png");
    writePicture(path(QStringLiteral("読めない.jpg")), {320, 240}, "jpg");
    writePicture(path(QStringLiteral("横に寝た.jpg")), {1200, 800}, "jpg", true);
    markTurned(path(QStringLiteral("横に寝た.jpg")));
    if (webpSupported()) writePicture(path(QStringLiteral("小さい.webp")), {200, 150}, "webp");
    writeFile(path(QStringLiteral("メモ.jpg")), "not a picture, only text\n");
    m_pipe = makePipe(path(QStringLiteral("管.jpg")));
}

void TstPicturePane::showsEachKindOfFile_data() {
    // Per side: the file (the right one only for a pair), the line expected
    // under its name, and its own size in pixels where it is a picture.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("details");
    QTest::addColumn<QList<QSize>>("pixels");
    const QString kb = QStringLiteral(" ・ (\\d+ (バイト|KB)|\\d+\\.\\d MB)$");
    QTest::newRow("jpeg") << QStringList{QStringLiteral("写真 1.jpg")}
                          << QStringList{QStringLiteral("^1600×1200") + kb}
                          << QList<QSize>{{1600, 1200}};
    QTest::newRow("png, portrait")
        << QStringList{QStringLiteral("縦.png")} << QStringList{QStringLiteral("^600×900") + kb}
        << QList<QSize>{{600, 900}};
    QTest::newRow("jpeg turned upright")
        << QStringList{QStringLiteral("横に寝た.jpg")}
        << QStringList{QStringLiteral("^800×1200") + kb} << QList<QSize>{{800, 1200}};
    QTest::newRow("webp smaller than the pane, not enlarged")
        << QStringList{QStringLiteral("小さい.webp")}
        << QStringList{QStringLiteral("^200×150") + kb} << QList<QSize>{{200, 150}};
    QTest::newRow("text named .jpg")
        << QStringList{QStringLiteral("メモ.jpg")}
        << QStringList{QStringLiteral("^画像として読めません$")} << QList<QSize>{{}};
    QTest::newRow("missing file") << QStringList{QStringLiteral("無い.jpg")}
                                  << QStringList{QStringLiteral("^ファイルが見つかりません。$")}
                                  << QList<QSize>{{}};
    QTest::newRow("pipe named .jpg")
        << QStringList{QStringLiteral("管.jpg")}
        << QStringList{QStringLiteral("^画像として読めません$")} << QList<QSize>{{}};
    QTest::newRow("refused open") << QStringList{QStringLiteral("読めない.jpg")}
                                  << QStringList{QStringLiteral("^読み込みできません。$")}
                                  << QList<QSize>{{}};
    QTest::newRow("pair") << QStringList{QStringLiteral("写真 1.jpg"), QStringLiteral("縦.png")}
                          << QStringList{QStringLiteral("^1600×1200") + kb,
                                         QStringLiteral("^600×900") + kb}
                          << QList<QSize>{{1600, 1200}, {600, 900}};
}

void TstPicturePane::showsEachKindOfFile() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, details);
    QFETCH(QList<QSize>, pixels);
    if (files.first().endsWith(QStringLiteral(".webp")) && !webpSupported())
        QSKIP("Qt has no WebP plugin here (qt6-image-formats-plugins)");
    if (files.first() == QStringLiteral("管.jpg") && !m_pipe)
        QSKIP("this system keeps no pipes among files");

    GatedFileSystem fs;
    fs.failOpen.insert(path(QStringLiteral("読めない.jpg")), code::PermissionDenied);
    PicturePane pane(fs);
    pane.resize(900, 500);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    if (files.size() == 2)
        pane.showPair(path(files[0]), path(files[1]));
    else
        pane.showOne(path(files[0]));

    const QList<PictureView*> views = pane.findChildren<PictureView*>();
    QCOMPARE(views.size(), 2);
    const PaneSide sides[] = {PaneSide::Left, PaneSide::Right};
    for (const QSize& paneSize : {QSize(900, 500), QSize(520, 260)}) {
        pane.resize(paneSize);
        QTRY_COMPARE(pane.size(), paneSize);
        QTRY_VERIFY(pane.isSettled());
        const QStringList read = accessibleTexts(QAccessible::queryAccessibleInterface(&pane));
        QVERIFY(read.contains(QStringLiteral("画像のプレビュー")));
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QStringList caption = pane.caption(sides[i]).split(QLatin1Char('\n'));
            QCOMPARE(caption.size(), 2);
            QCOMPARE(caption[0], files[i]);
            QVERIFY2(QRegularExpression(details[i]).match(caption[1]).hasMatch(),
                     qPrintable(caption[1]));
            QVERIFY2(read.contains(caption[0]) && read.contains(caption[1]),
                     qPrintable(read.join(QLatin1Char('|'))));
            if (pixels[i].isValid()) {
                checkFitted(pane.picture(sides[i]), pixels[i], views[i]->bounds());
                if (QTest::currentTestFailed()) return;
            } else {
                QVERIFY(pane.picture(sides[i]).isNull());
            }
        }
        if (files.size() == 1) QVERIFY(pane.caption(PaneSide::Right).isEmpty());
    }
}

void TstPicturePane::replacedPictureNeverShows() {
    GatedFileSystem fs;
    fs.gated = path(QStringLiteral("写真 1.jpg"));
    auto release = qScopeGuard([&] { fs.gate.release(); });
    PicturePane pane(fs);
    pane.resize(600, 400);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));

    // The first picture is being read when the second is asked for, so its
    // result comes back last.
    pane.showOne(fs.gated);
    QTRY_VERIFY(fs.entered);
    pane.showOne(path(QStringLiteral("縦.png")));
    QTRY_VERIFY(!pane.picture(PaneSide::Left).isNull());
    release.dismiss();
    fs.gate.release();
    QTRY_VERIFY(pane.isSettled());
    QVERIFY(pane.caption(PaneSide::Left).startsWith(QStringLiteral("縦.png\n600×900")));
    const QImage shown = pane.picture(PaneSide::Left);
    QVERIFY2(shown.height() > shown.width(), "the portrait PNG, not the landscape JPEG");
}

QTEST_MAIN(TstPicturePane)
#include "tst_picturepane.moc"
