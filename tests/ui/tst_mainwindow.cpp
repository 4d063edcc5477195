// The main window's start-up, layout, option captions, resizing and shutdown.

#include <QAccessible>
#include <QDir>
#include <QGroupBox>
#include <QStyle>
#include <QtTest>

#include "core/paths.h"
#include "files.h"
#include "platform/filesystem.h"
#include "ui/filelistmodel.h"
#include "ui/folderchooser.h"
#include "ui/helppage.h"
#include "ui/mainlayout.h"
#include "ui/resizeplan.h"
#include "ui/twips.h"
#include "windowfixture.h"

using namespace quillo;
using namespace quillo::test;

namespace {

const QStringList kExample = {QStringLiteral("変換チェック, 1 "),
                              QStringLiteral("参照チェック, 1 "),
                              QStringLiteral("抽出チェック, 1 "),
                              QStringLiteral("移動チェック, 0 "),
                              QStringLiteral("削除チェック, 0 "),
                              QStringLiteral("参照フォルダ,C:\\PICT\\REF"),
                              QStringLiteral("抽出フォルダ,C:\\PICT\\NEW"),
                              QStringLiteral("移動フォルダ,C:\\PICT\\DONE"),
                              QStringLiteral("削除フォルダ,C:\\PICT\\DUP"),
                              QStringLiteral("ファイル名,GAZOU"),
                              QStringLiteral("ファイル№,00001"),
                              QStringLiteral("識別子,.JPG"),
                              QStringLiteral("識別子,.JPEG"),
                              QStringLiteral("識別子,.GIF"),
                              QStringLiteral("識別子,.BMP"),
                              QStringLiteral("上位置, 1200 "),
                              QStringLiteral("左位置, -30 ")};

QStringList items(QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
}

}  // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedMessageBox m_box;
    FakeClock m_clock;
    QString m_ini;

  private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_ini = m_dir.filePath(QStringLiteral("Quillo.INI"));
        QFile::remove(m_ini);
        m_box.texts.clear();
    }

    void startUpWithoutFile() {
        const QString cwd = m_dir.filePath(QStringLiteral("作業"));
        makeDir(cwd);
        const QString before = QDir::currentPath();
        QDir::setCurrent(cwd);
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        QDir::setCurrent(before);
        const MainControls& c = w.controls();
        for (QLineEdit* box : {c.txtRefer, c.txtSelect, c.txtMove, c.txtDelete})
            QCOMPARE(box->text(), nativePath(cwd));  // as the user reads it
        QCOMPARE(c.txtName->text(), QStringLiteral("GAZOU"));
        QCOMPARE(c.txtNumber->text(), QStringLiteral("00001"));
        QCOMPARE(w.digitCount(), qint16(5));
        QCOMPARE(items(c.cmbExtent), (QStringList{QStringLiteral(".JPG"), QStringLiteral(".JPEG"),
                                                  QStringLiteral(".GIF"), QStringLiteral(".BMP")}));
        QCOMPARE(c.cmbExtent->currentText(), QStringLiteral(".JPG"));
        QCOMPARE(c.chkJpegJpg->value(), CheckValue::On);
        QCOMPARE(c.chkRefer->value(), CheckValue::On);
        QCOMPARE(c.chkSelect->value(), CheckValue::On);
        QCOMPARE(c.chkMove->value(), CheckValue::Off);
        QCOMPARE(c.chkDelete->value(), CheckValue::Off);
        QCOMPARE(c.chkRefer->text(), QStringLiteral("サブフォルダ以下も参照対象とします"));
        QCOMPARE(c.chkSelect->text(), QStringLiteral("サブフォルダ以下も抽出対象とします"));
        QCOMPARE(c.chkMove->text(), QStringLiteral("採番後ファイルを移動しません"));
        QCOMPARE(c.chkDelete->text(), QStringLiteral("重複ファイルをごみ箱に移します"));
        QCOMPARE(c.chkJpegJpg->text(), QStringLiteral("Jpeg→Jpg"));
        QCOMPARE(c.lblMsg->text(), QString());
        QCOMPARE(c.lblCount->text(), QString());
        QVERIFY(!w.testAttribute(Qt::WA_Moved));  // default placement
        QCOMPARE(w.windowTitle(), QStringLiteral("Quillo(簡易版)　ｖｅｒ１．１０"));
        QCOMPARE(w.size(), QSize(px(12525), px(6120)));
        QVERIFY(!w.callBack());
        QCOMPARE(w.files().FileCount(), 0);
        QCOMPARE(w.listModel().rowCount(), 0);
        QCOMPARE(w.listModel().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("ディレクトリ"));
        QVERIFY(m_box.texts.isEmpty());
        // Start-up used the folder chooser, which now exists, hidden.
        QVERIFY(w.findChild<frmFolder*>() && !w.findChild<frmFolder*>()->isVisible());
    }

    void loadsTheExampleFile() {
        writeFile(m_ini, settingsBytes(kExample));
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        const MainControls& c = w.controls();
        QCOMPARE(c.txtRefer->text(), QStringLiteral("C:\\PICT\\REF"));
        QCOMPARE(c.txtSelect->text(), QStringLiteral("C:\\PICT\\NEW"));
        QCOMPARE(c.txtMove->text(), QStringLiteral("C:\\PICT\\DONE"));
        QCOMPARE(c.txtDelete->text(), QStringLiteral("C:\\PICT\\DUP"));
        QCOMPARE(c.txtName->text(), QStringLiteral("GAZOU"));
        QCOMPARE(c.txtNumber->text(), QStringLiteral("00001"));
        QCOMPARE(w.digitCount(), qint16(5));
        QCOMPARE(items(c.cmbExtent).size(), 4);
        QCOMPARE(c.cmbExtent->currentText(), QStringLiteral(".JPG"));
        QCOMPARE(c.chkMove->value(), CheckValue::Off);
        QCOMPARE(c.chkRefer->value(), CheckValue::On);
        QCOMPARE(c.lblMsg->text(), QString());
        // 1200 twips down, 30 twips left of the screen's edge: still on the screen.
        QVERIFY(w.testAttribute(Qt::WA_Moved));
        QCOMPARE(w.pos(), QPoint(px(-30), px(1200)));
        QVERIFY(m_box.texts.isEmpty());

        // Shown and framed, the window's frame is where the file says, and
        // saved again, the same bytes come out.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(w.pos(), QPoint(px(-30), px(1200)));
        w.SaveSettings();
        QCOMPARE(w.writes.last(), settingsBytes(kExample));
    }

    void fileWithoutExtentAndNumberLines() {
        QStringList lines = kExample;
        lines.removeIf([](const QString& l) {
            return l.startsWith(QStringLiteral("識別子")) ||
                   l.startsWith(QStringLiteral("ファイル№"));
        });
        writeFile(m_ini, settingsBytes(lines));
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        const MainControls& c = w.controls();
        QCOMPARE(c.cmbExtent->count(), 0);
        QCOMPARE(c.cmbExtent->currentText(), QStringLiteral("Combo1"));
        QCOMPARE(c.lblMsg->text(), QStringLiteral("Label2"));
        QCOMPARE(c.lblCount->text(), QStringLiteral("Label1"));
        QCOMPARE(c.txtNumber->text(), QStringLiteral("Text8"));
        QCOMPARE(w.digitCount(), qint16(0));
        QCOMPARE(c.txtName->text(), QStringLiteral("GAZOU"));
    }

    void storedNumberLongerThanTheBox() {
        QStringList lines = kExample;
        lines.replace(10, QStringLiteral("ファイル№,0000000123"));
        writeFile(m_ini, settingsBytes(lines));
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        QCOMPARE(w.controls().txtNumber->text(), QStringLiteral("00000001"));
        QCOMPARE(w.digitCount(), qint16(8));
    }

    void positionOffEveryScreenIsNotUsed() {
        QStringList lines = kExample;
        lines.replace(lines.size() - 2, QStringLiteral("上位置, 150000 "));
        lines.replace(lines.size() - 1, QStringLiteral("左位置, 150000 "));
        writeFile(m_ini, settingsBytes(lines));
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        QVERIFY(!w.testAttribute(Qt::WA_Moved));
    }

    void layoutFollowsTheTables() {
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        struct Place {
            const char* name;
            const char* frame;
            int l, t, wd, h;
        };
        const Place places[] = {{"Frame1", "", 120, 0, 4935, 855},
                                {"Frame5", "", 120, 3360, 4935, 615},
                                {"Frame7", "", 120, 5520, 4935, 495},
                                {"cmdRefer", "", 120, 4680, 615, 550},
                                {"cmdHp", "", 3720, 4680, 615, 550},
                                {"cmdQuit", "", 4440, 4680, 615, 550},
                                {"Label7", "", 3720, 5280, 615, 255},
                                {"grdList", "", 5160, 105, -1, -1},
                                {"txtSelect", "Frame2", 600, 240, 4215, 270},
                                {"cmdDeleteInp", "Frame4", 120, 240, 375, 270},
                                {"chkMove", "Frame3", 120, 600, 3975, 180},
                                {"cmbExtent", "Frame5", 120, 240, 1095, 300},
                                {"lblCount", "Frame5", 1320, 240, 3375, 255},
                                {"txtNumber", "Frame6", 2400, 240, kNumberBoxWidth, 270},
                                {"chkJpegJpg", "Frame6", 3600, 240, 1215, 255},
                                {"lblMsg", "Frame7", 120, 195, 4695, 255}};
        for (const Place& p : places) {
            QWidget* widget = child<QWidget>(&w, p.name);
            QVERIFY2(widget, p.name);
            QCOMPARE(widget->parentWidget()->objectName(),
                     *p.frame ? QLatin1String(p.frame) : QLatin1String("frmQuillo"));
            QCOMPARE(widget->pos(), twipsPoint(p.l, p.t));
            if (p.wd >= 0) QCOMPARE(widget->size(), twipsSize(p.wd, p.h));
        }
        QCOMPARE(child<QGroupBox>(&w, "Frame6")->title(), QStringLiteral("採番時の設定"));
        QCOMPARE(child<QLabel>(&w, "Label4")->text(), QStringLiteral("採番"));
        QCOMPARE(child<QLineEdit>(&w, "txtNumber")->maxLength(), 8);
        {
            // Eight digits fit inside the number box's frame and margins.
            auto* number = child<QLineEdit>(&w, "txtNumber");
            const int frame = number->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const int text =
                QFontMetrics(number->font()).horizontalAdvance(QStringLiteral("00000000"));
            QVERIFY2(text + 2 * frame + 4 <= number->width(), qPrintable(QString::number(text)));
        }
        QVERIFY(child<QLineEdit>(&w, "txtRefer")->isReadOnly());
        QCOMPARE(child<QWidget>(&w, "cmdDelete")->toolTip(),
                 QStringLiteral("重複データを削除（移動）します"));
        QCOMPARE(child<QWidget>(&w, "Frame1")->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(child<QWidget>(&w, "txtName")->font().family(), QStringLiteral("ＭＳ ゴシック"));
        // The family names resolve to the installed IPA gothics.
        QCOMPARE(QFontInfo(child<QWidget>(&w, "Frame1")->font()).family(),
                 QStringLiteral("IPAPGothic"));
        QCOMPARE(QFontInfo(child<QWidget>(&w, "txtName")->font()).family(),
                 QStringLiteral("IPAGothic"));
        // Every picture button carries its drawn picture and no text.
        for (const char* name : {"cmdRefer", "cmdSelect", "cmdDelete", "cmdRename", "cmdClear",
                                 "cmdHp", "cmdQuit", "cmdReferInp", "cmdMoveInp"}) {
            auto* button = child<QToolButton>(&w, name);
            QVERIFY2(!button->icon().pixmap(16, 15).isNull(), name);
            QVERIFY(button->text().isEmpty());
        }
        QVERIFY(!w.windowIcon().isNull());

        // The tab order runs by tab index through the focusable controls.
        const char* order[] = {
            "txtRefer",  "cmdReferInp", "chkRefer",  "txtSelect", "cmdSelectInp", "chkSelect",
            "txtMove",   "cmdMoveInp",  "chkMove",   "txtDelete", "cmdDeleteInp", "chkDelete",
            "cmbExtent", "Text5",       "txtName",   "Text7",     "txtNumber",    "chkJpegJpg",
            "cmdRefer",  "cmdSelect",   "cmdDelete", "cmdRename", "cmdClear",     "cmdQuit",
            "grdList",   "cmdHp"};
        QWidget* at = child<QWidget>(&w, order[0]);
        for (size_t i = 1; i < std::size(order); ++i) {
            QWidget* next = at->nextInFocusChain();
            // Inner widgets of a control (the combo box's edit line) are skipped.
            while (next->parentWidget() != child<QWidget>(&w, order[i])->parentWidget() ||
                   next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            QCOMPARE(next->objectName(), QLatin1String(order[i]));
            at = next;
        }
    }

    void optionCaptionsFollowTheValue() {
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        OptionCheckBox* move = w.controls().chkMove;
        const QString first = move->text();
        move->click();
        QCOMPARE(move->value(), CheckValue::On);
        QCOMPARE(move->text(), QStringLiteral("採番後ファイルを指定フォルダに移動します"));
        move->click();
        QCOMPARE(move->text(), first);

        // A stored 2 shows greyed with the ticked caption; a click unticks it.
        QStringList lines = kExample;
        lines.replace(4, QStringLiteral("削除チェック, 2 "));
        writeFile(m_ini, settingsBytes(lines));
        TestWindow greyed(m_ini, systemFileSystem(), m_box, m_clock);
        OptionCheckBox* del = greyed.controls().chkDelete;
        QCOMPARE(del->checkState(), Qt::PartiallyChecked);
        QCOMPARE(del->text(), QStringLiteral("重複ファイルを指定フォルダに移動します"));
        del->click();
        QCOMPARE(del->value(), CheckValue::Off);
        QCOMPARE(del->text(), QStringLiteral("重複ファイルをごみ箱に移します"));
        del->click();
        QCOMPARE(del->value(), CheckValue::On);
        greyed.SaveSettings();
        QVERIFY(greyed.writes.last().contains(*encodeCp932(u"削除チェック, 1 \r\n")));
    }

    void resizeLimits() {
        static_assert(planResize(5375, 6525, 0).gridWidth == 0);
        static_assert(planResize(6000, 7000, 0).gridWidth == 625);
        static_assert(planResize(6000, 7000, 0).gridHeight == 6430);
        static_assert(planResize(100, 100, 0).outerWidth == 5375);
        // No frame: the outer height is the client's and is raised to 6525. A
        // thinner frame than the one the limit was drawn for keeps the client
        // height the window opens with; a thicker one changes nothing.
        static_assert(planResize(100, 100, 0).outerHeight == 6525);
        static_assert(planResize(100, 100, 375).outerHeight == 6120 + 375);
        static_assert(planResize(100, 100, 600).outerHeight == 6525);
        // Not yet framed: the height is left alone.
        static_assert(planResize(100, 100, std::nullopt).outerHeight == 100);

        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize extra = w.frameGeometry().size() - w.size();
        QVERIFY(extra.height() > 0);  // the offscreen platform's frame
        // The window opens with its client size.
        QTest::qWait(50);
        QCOMPARE(w.size(), QSize(px(12525), px(6120)));
        w.resize(QSize(200, 200) - extra);
        QTRY_COMPARE(w.frameGeometry().size(), QSize(px(5375), px(6120) + extra.height()));
        QTRY_COMPARE(w.controls().grdList->width(), 0);
        QCOMPARE(w.controls().grdList->height(), px(6120 - 570) + extra.height());
        w.resize(QSize(px(6000), px(7000)) - extra);
        QTRY_COMPARE(w.controls().grdList->width(), px(625));
        QCOMPARE(w.controls().grdList->height(), px(7000 - 570));
        QCOMPARE(w.controls().grdList->pos(), twipsPoint(5160, 105));
        w.showMinimized();
        w.showNormal();
        QTRY_COMPARE(w.controls().grdList->width(), px(625));
    }

    void quitWritesTwiceWithTheSameBytes() {
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.files().append(
            {m_dir.path() + QLatin1Char('/'), QStringLiteral("a.jpg"), 1, FileKind::Target, {}});
        w.cmdReferInp_Click();  // the chooser is open at shutdown
        QVERIFY(w.findChild<frmFolder*>()->isVisible());
        QTest::mouseClick(w.controls().cmdQuit, Qt::LeftButton);
        QCOMPARE(w.writes.size(), 2);
        QCOMPARE(w.writes[0], w.writes[1]);
        QVERIFY(w.writes[0].startsWith(*encodeCp932(u"変換チェック, 1 \r\n参照チェック, 1 \r\n")));
        QCOMPARE(readFile(m_ini), w.writes[0]);
        QCOMPARE(w.files().FileCount(), 0);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.findChild<frmFolder*>(), nullptr);
    }

    void heightRuleAtShutdown() {
        {
            TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
            w.outerHeight = 3000;
            w.close();
            QVERIFY(w.writes.isEmpty());
            QVERIFY(!QFile::exists(m_ini));
        }
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        w.outerHeight = 3001;
        w.close();
        QCOMPARE(w.writes.size(), 1);
        QVERIFY(QFile::exists(m_ini));
    }

    void unwritableSettingsEndWithoutSaving() {
        // A file stands where the settings folder should be: the write fails.
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        writeFile(blocker, "x");
        const QString ini = blocker + QStringLiteral("/Quillo.INI");
        TestWindow w(ini, systemFileSystem(), m_box, m_clock);
        w.show();
        w.cmdQuit_Click();
        QCOMPARE(w.writes.size(), 2);
        QVERIFY(w.writes[0].isEmpty());
        QVERIFY(!w.isVisible());
        QVERIFY(m_box.texts.isEmpty());
    }

    void buttonsAndListsHaveNames() {
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        // Every named button and list of both windows (the chooser is a child
        // of the main window), as a screen reader reads them.
        QList<QWidget*> controls;
        for (QWidget* c : w.findChildren<QWidget*>())
            if (!c->objectName().isEmpty() &&
                (qobject_cast<QAbstractButton*>(c) || qobject_cast<QAbstractItemView*>(c) ||
                 qobject_cast<QComboBox*>(c)))
                controls << c;
        // ... and the review's two buttons.
        QCOMPARE(controls.size(), 7 + 4 + 5 + 2 + 2 + 2 + 2);
        for (QWidget* c : controls)
            QVERIFY2(!QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                     qPrintable(c->objectName()));
        // A picture button is named by its caption.
        QCOMPARE(QAccessible::queryAccessibleInterface(w.controls().cmdHp)->text(QAccessible::Name),
                 QStringLiteral("ＨＰ"));
    }

    void helpPageNobodyOpensIsNamed_data() {
        QTest::addColumn<QByteArray>("opener");  // the opener's script; empty: none installed
        QTest::addColumn<bool>("said");
        QTest::newRow("no opener") << QByteArray() << true;
        QTest::newRow("no browser") << QByteArrayLiteral("exit 3") << true;
        QTest::newRow("opened") << QByteArrayLiteral("exit 0") << false;
    }

    void helpPageNobodyOpensIsNamed() {
        QFETCH(QByteArray, opener);
        QFETCH(bool, said);
        // Windows' shell answers from the associations of the machine, which
        // no test sets up.
        if (kHostPathStyle != PathStyle::Posix) QSKIP("the openers are xdg-open scripts");
        QTemporaryDir bin;
        const QString ran = bin.filePath(QStringLiteral("ran"));
        if (!opener.isEmpty()) {
            const QString script = bin.filePath(QStringLiteral("xdg-open"));
            writeFile(script, "#!/bin/sh\n: > \"${0%/*}/ran\"\n" + opener + "\n");
            QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
        }
        TestWindow w(m_ini, systemFileSystem(), m_box, m_clock);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        w.cmdHp_Click();
        qputenv("PATH", path);
        if (!opener.isEmpty()) QTRY_VERIFY(QFile::exists(ran));
        if (said) {
            QTRY_COMPARE(m_box.texts.size(), 1);
            QVERIFY(m_box.texts[0].contains(
                QDir::toNativeSeparators(findHelpPage(QCoreApplication::applicationDirPath()))));
        } else {
            QTest::qWait(200);
            QVERIFY(m_box.texts.isEmpty());
        }
    }

    void helpPageIsFoundBesideOrInstalled() {
        const QString root = m_dir.filePath(QStringLiteral("inst"));
        const QString bin = root + QStringLiteral("/bin");
        makeDir(bin);
        const QString beside = bin + QStringLiteral("/help/index.html");
        const QString installed = root + QStringLiteral("/share/quillo/help/index.html");
        QCOMPARE(findHelpPage(bin), beside);  // neither: where a build puts it
        writeFile(installed, "<html/>");
        QCOMPARE(findHelpPage(bin), installed);
        writeFile(beside, "<html/>");
        QCOMPARE(findHelpPage(bin), beside);
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
