// The grid fill, the blinking message and the clear operation.

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

#include "core/paths.h"
#include "files.h"
#include "ui/filelistmodel.h"
#include "windowfixture.h"

using namespace quillo;
using namespace quillo::test;

namespace {

QColor messageColor(const frmQuillo& w) {
    return w.controls().lblMsg->palette().color(QPalette::WindowText);
}

// n files a00.jpg … in folder, appended to the window's table as targets.
void collect(frmQuillo& w, const QString& folder, int n) {
    for (int i = 1; i <= n; ++i) {
        const QString name = QStringLiteral("画像%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        const QByteArray bytes(i * 100, 'x');
        writeFile(folder + QLatin1Char('/') + name, bytes);
        w.files().append({folder + QLatin1Char('/'), name, bytes.size(), FileKind::Target, {}});
    }
}

}  // namespace

class TstListDisplay : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedMessageBox m_box;
    FakeClock m_clock;

    QString ini() const { return m_dir.filePath(QStringLiteral("Quillo.INI")); }

  private slots:
    void fillTakesFifteenRowsATick() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        const QString folder = m_dir.filePath(QStringLiteral("写真31"));
        collect(w, folder, 31);
        FileListModel& model = w.listModel();
        w.ShowBusy();
        QCOMPARE(w.controls().lblMsg->text(),
                 QStringLiteral("画面を編集しています、しばらくお待ち下さい"));
        QCOMPARE(model.rowCount(), 31);
        QVERIFY(w.controls().timEdit->isActive());
        QCOMPARE(w.controls().timEdit->interval(), 1);

        w.timEdit_Timer();
        QCOMPARE(w.fillCursor(), 15);
        QCOMPARE(model.cellText(15, 5), kindLabel(FileKind::Target));
        QCOMPARE(model.cellText(16, 0), QString());
        w.timEdit_Timer();
        QCOMPARE(w.fillCursor(), 30);
        QCOMPARE(model.cellText(31, 0), QString());
        w.controls().lblMsg->setText(QStringLiteral("31件、抽出しました"));
        w.timEdit_Timer();
        QCOMPARE(w.fillCursor(), 0);
        QVERIFY(!w.controls().timEdit->isActive());
        QCOMPARE(messageColor(w), QColor(Qt::black));
        QCOMPARE(w.controls().lblMsg->text(), QStringLiteral("31件、抽出しました"));

        // The cells of a row, as drawn.
        QCOMPARE(model.cellText(12, 0), QStringLiteral("12"));
        QCOMPARE(model.cellText(12, 1), nativePath(folder + QLatin1Char('/')));
        QCOMPARE(model.cellText(12, 2), QStringLiteral("画像12.jpg"));
        const QDateTime mtime = QFileInfo(folder + QStringLiteral("/画像12.jpg")).lastModified();
        QCOMPARE(model.cellText(12, 3), mtime.toString(QStringLiteral("yy/MM/dd HH:mm")));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$"))
                    .match(model.cellText(12, 3))
                    .hasMatch());
        // The time stamp is not cut: its column is as wide as its texts need.
        const QAbstractItemView* grid = w.controls().grdList;
        QVERIFY2(w.controls().grdList->columnWidth(3) >= grid->sizeHintForColumn(3),
                 qPrintable(QString::number(grid->sizeHintForColumn(3))));
        QCOMPARE(model.cellText(12, 4), QStringLiteral("1,200"));
        QCOMPARE(model.data(model.index(11, 4), Qt::DisplayRole).toString(),
                 QStringLiteral("1,200"));
    }

    void vanishedFileLeavesItsRowPartlyFilled() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        const QString folder = m_dir.filePath(QStringLiteral("消えた"));
        collect(w, folder, 5);
        QVERIFY(QFile::remove(folder + QStringLiteral("/画像02.jpg")));
        FileListModel& model = w.listModel();
        w.ShowBusy();
        w.timEdit_Timer();
        QCOMPARE(model.cellText(1, 5), kindLabel(FileKind::Target));
        QCOMPARE(model.cellText(2, 0), QStringLiteral("2"));
        QCOMPARE(model.cellText(2, 2), QStringLiteral("画像02.jpg"));
        QCOMPARE(model.cellText(2, 3), QString());
        QCOMPARE(model.cellText(2, 4), QString());
        QCOMPARE(model.cellText(2, 5), QString());
        QCOMPARE(model.cellText(3, 0), QString());  // the rest of that tick is dropped
        QVERIFY(w.controls().timEdit->isActive());
        w.timEdit_Timer();
        QCOMPARE(model.cellText(3, 5), kindLabel(FileKind::Target));
        QCOMPARE(model.cellText(5, 4), QStringLiteral("500"));
        QVERIFY(!w.controls().timEdit->isActive());
    }

    void showBusyWithNoEntries() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.BlinkStep();
        QVERIFY(messageColor(w) != QColor(Qt::black));
        w.ShowBusy();
        QCOMPARE(w.listModel().rowCount(), 0);
        w.timEdit_Timer();
        QVERIFY(!w.controls().timEdit->isActive());
        QCOMPARE(messageColor(w), QColor(Qt::black));
    }

    void showBusyDuringAFillStartsAgain() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        collect(w, m_dir.filePath(QStringLiteral("再開")), 20);
        w.ShowBusy();
        w.timEdit_Timer();
        QCOMPARE(w.fillCursor(), 15);
        w.files().entries[0].kind = FileKind::Refer;  // as if re-sorted
        w.ShowBusy();
        QCOMPARE(w.fillCursor(), 0);
        w.timEdit_Timer();
        QCOMPARE(w.listModel().cellText(1, 5), kindLabel(FileKind::Refer));
    }

    void clearDuringAFill() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        const MainControls& c = w.controls();
        collect(w, m_dir.filePath(QStringLiteral("消去")), 40);
        w.ShowBusy();
        w.timEdit_Timer();
        c.lblCount->setText(QStringLiteral("(40)"));
        for (QWidget* b : {static_cast<QWidget*>(c.cmdRefer), static_cast<QWidget*>(c.cmdSelect),
                           static_cast<QWidget*>(c.cmdDelete)})
            b->setEnabled(false);
        c.cmdClear->click();
        QVERIFY(!c.timEdit->isActive());
        QCOMPARE(w.fillCursor(), 0);
        QCOMPARE(w.files().FileCount(), 0);
        QCOMPARE(w.listModel().rowCount(), 0);
        QCOMPARE(c.lblCount->text(), QString());
        QCOMPARE(c.lblMsg->text(), QString());
        QVERIFY(c.cmdRefer->isEnabled() && c.cmdSelect->isEnabled() && c.cmdDelete->isEnabled());

        // The next fill starts from row 1, through the real timer.
        collect(w, m_dir.filePath(QStringLiteral("消去後")), 3);
        w.ShowBusy();
        QTRY_VERIFY(!c.timEdit->isActive());
        QCOMPARE(w.listModel().cellText(1, 0), QStringLiteral("1"));
        QCOMPARE(w.listModel().cellText(3, 5), kindLabel(FileKind::Target));
    }

    void blinkCyclesThroughSevenGreys() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        QCOMPARE(w.blinkColor(), 0);
        const int greys[] = {0x22, 0x44, 0x66, 0x88, 0xAA, 0xCC, 0xEE, 0x22, 0x44};
        for (int grey : greys) {
            w.BlinkStep();
            QCOMPARE(messageColor(w), QColor(grey, grey, grey));
            QCOMPARE(w.blinkDue(), m_clock.now + 0.2);
            // Within the 0.2 seconds nothing changes.
            m_clock.now += 0.125;
            w.BlinkStep();
            QCOMPARE(messageColor(w), QColor(grey, grey, grey));
            m_clock.now += 0.125;
        }
        QCOMPARE(w.blinkColor(), 0x444444);
    }
};

QTEST_MAIN(TstListDisplay)
#include "tst_listdisplay.moc"
