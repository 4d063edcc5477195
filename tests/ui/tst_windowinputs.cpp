// The window's inputs: extension list events, the name and number checks,
// the folder openers, and the four commands wired through the buttons.

#include <QMimeData>
#include <QScopeGuard>
#include <QSemaphore>
#include <QtTest>

#include "core/failure.h"
#include "core/paths.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "numbering/namecheck.h"
#include "ui/filelistmodel.h"
#include "ui/folderchooser.h"
#include "ui/review/reviewbar.h"
#include "windowfixture.h"

using namespace quillo;
using namespace quillo::test;

namespace {

QStringList items(QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
}

QStringList strings(std::initializer_list<const char16_t*> texts) {
    QStringList list;
    for (const char16_t* t : texts) list << QString::fromUtf16(t);
    return list;
}

void pressEnter(QComboBox* box, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(box, Qt::Key_Return, modifiers);
}

void fillTable(frmQuillo& w) {
    w.files().append(
        {QStringLiteral("/nowhere/"), QStringLiteral("x.jpg"), 1, FileKind::Target, {}});
}

// Holds the command's thread inside one file operation until released.
struct BlockingFileSystem : FaultyFileSystem {
    QSemaphore entered, gate;
    BlockingFileSystem(const QString& blockOp, const QString& blockPath) {
        before = [=, this](const QString& op, const QString& path) {
            if (op != blockOp || path != blockPath) return;
            entered.release();
            gate.acquire();
        };
    }
};

// Answers like a modal box does: its own event loop runs while it is open.
struct ModalMessageBox : ScriptedMessageBox {
    int open = 0, mostOpen = 0;
    std::function<void()> onShow;
    Answer show(const QString& text, Buttons b) override {
        mostOpen = std::max(mostOpen, ++open);
        if (onShow) std::exchange(onShow, nullptr)();
        QTest::qWait(150);
        --open;
        return ScriptedMessageBox::show(text, b);
    }
};

}  // namespace

class TstWindowInputs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedMessageBox m_box;
    FakeClock m_clock;

    QString ini() const { return m_dir.filePath(QStringLiteral("Quillo.INI")); }

  private slots:
    // The desktop's trash and the journals, in the test's own folder.
    void initTestCase() {
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
    }
    void init() { m_box.texts.clear(); }

    void extensionListEvents() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QComboBox* box = w.controls().cmbExtent;
        box->setFocus();

        // Typing clears the table; Enter adds the trimmed text at the top.
        fillTable(w);
        box->setEditText(QStringLiteral(" .png "));
        QCOMPARE(w.files().FileCount(), 0);
        pressEnter(box);
        QCOMPARE(items(box), strings({u".png", u".JPG", u".JPEG", u".GIF", u".BMP"}));
        QCOMPARE(box->currentText(), QStringLiteral(".png"));

        // A text already listed moves nothing and leaves the table alone.
        box->setEditText(QStringLiteral(".GIF"));
        fillTable(w);
        pressEnter(box);
        QCOMPARE(items(box), strings({u".png", u".JPG", u".JPEG", u".GIF", u".BMP"}));
        QCOMPARE(box->currentText(), QStringLiteral(".GIF"));
        QCOMPARE(w.files().FileCount(), 1);

        // Shift+Enter removes the shown entry and shows the first one.
        pressEnter(box, Qt::ShiftModifier);
        QCOMPARE(items(box), strings({u".png", u".JPG", u".JPEG", u".BMP"}));
        QCOMPARE(box->currentText(), QStringLiteral(".png"));
        QCOMPARE(w.files().FileCount(), 0);
        box->setEditText(QStringLiteral(".JPG"));
        pressEnter(box, Qt::ControlModifier);
        QCOMPARE(items(box), strings({u".png", u".JPEG", u".BMP"}));

        // Leaving the box with a bad text falls back to the first entry.
        box->setEditText(QStringLiteral("png"));
        w.controls().txtName->setFocus();
        QCOMPARE(box->currentText(), QStringLiteral(".png"));
        QCOMPARE(items(box), strings({u".png", u".JPEG", u".BMP"}));
        box->setFocus();
        box->setEditText(QStringLiteral(".tif"));
        w.controls().txtNumber->setFocus();
        QCOMPARE(items(box), strings({u".tif", u".png", u".JPEG", u".BMP"}));

        // A pick moves the entry to the top after the refresh timer.
        box->setCurrentIndex(3);
        fillTable(w);
        emit box->activated(3);
        QVERIFY(w.controls().timRefresh->isActive());
        QCOMPARE(w.controls().timRefresh->interval(), 10);
        QTRY_COMPARE(items(box), strings({u".BMP", u".tif", u".png", u".JPEG"}));
        QCOMPARE(box->currentText(), QStringLiteral(".BMP"));
        QCOMPARE(w.files().FileCount(), 0);
        QVERIFY(!w.controls().timRefresh->isActive());
    }

    void nameCheckThroughTheWindow() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        QLineEdit* name = w.controls().txtName;
        name->setText(QString());
        name->setText(QStringLiteral("a:b*c"));
        QCOMPARE(name->text(), QStringLiteral("abc"));
        QCOMPARE(m_box.texts, QStringList({forbiddenNameMessage(), forbiddenNameMessage()}));
        QCOMPARE(m_box.buttons, QList<Buttons>({Buttons::Ok, Buttons::Ok}));
        name->setText(QStringLiteral("GAZOU"));
        QCOMPARE(m_box.texts.size(), 2);
    }

    void numberIsNormalisedOnLeaving() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QLineEdit* number = w.controls().txtNumber;
        const struct {
            const char* typed;
            const char* shown;
            qint16 digits;
        } cases[] = {{"12a", "012", 3},
                     {"", "0", 1},
                     {"00100", "00100", 5},
                     {"abc", "000", 3},
                     {"00000001", "00000001", 8}};
        for (const auto& k : cases) {
            number->setFocus();
            number->setText(QLatin1String(k.typed));
            w.controls().txtName->setFocus();
            QCOMPARE(number->text(), QLatin1String(k.shown));
            QCOMPARE(w.digitCount(), k.digits);
        }
        number->setFocus();
        QTest::keyClicks(number, QStringLiteral("1234567890"));
        QCOMPARE(number->text().size(), 8);
    }

    void folderOpenersFillTheirBoxes() {
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.show();
        const MainControls& c = w.controls();
        const QString move = c.txtMove->text();
        QTest::keyClick(c.cmdMoveInp, Qt::Key_Return);  // Enter presses a focused button
        QCOMPARE(w.callBack(), SettingsFolder::Move);
        auto* chooser = w.findChild<frmFolder*>();
        QVERIFY(chooser->isVisible());
        c.cmdReferInp->click();  // the open chooser now serves the reference box
        QCOMPARE(w.callBack(), SettingsFolder::Refer);
        emit chooser->folderChosen(QStringLiteral("/参照"));
        QCOMPARE(c.txtRefer->text(), QStringLiteral("/参照"));
        QCOMPARE(c.txtMove->text(), move);
        c.cmdSelectInp->click();
        emit chooser->folderChosen(QStringLiteral("/"));
        QCOMPARE(c.txtSelect->text(), QStringLiteral("/"));
        c.cmdDeleteInp->click();
        emit chooser->folderChosen(QStringLiteral("/重複"));
        QCOMPARE(c.txtDelete->text(), QStringLiteral("/重複"));
    }

    void longCommandStaysAliveAndStops_data() {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<bool>("viaClose");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("message");
        QTest::newRow("collect, Escape, yes")
            << false << false << true << QStringLiteral("抽出を中止しました");
        QTest::newRow("collect, Escape, no")
            << false << false << false << QStringLiteral("4件、抽出しました");
        QTest::newRow("collect, close, yes")
            << false << true << true << QStringLiteral("抽出を中止しました");
        QTest::newRow("rename, Escape, yes")
            << true << false << true << QStringLiteral("中止しました（3件、リネームしました）");
    }

    // While a command is held inside a file operation the window goes on
    // handling events, drops a stray click, and Escape or the close button
    // asks whether to stop.
    void longCommandStaysAliveAndStops() {
        QFETCH(bool, rename);
        QFETCH(bool, viaClose);
        QFETCH(bool, stop);
        QFETCH(QString, message);
        const QString sel = m_dir.filePath(QStringLiteral("長い"));
        QDir(sel).removeRecursively();
        for (const char* name : {"a.jpg", "b.jpg", "sub/c.jpg", "sub/d.jpg"})
            writeFile(sel + u'/' + QString::fromLatin1(name), name);
        BlockingFileSystem fs(
            rename ? QStringLiteral("rename") : QStringLiteral("list"),
            rename ? sel + QStringLiteral("/sub/c.jpg") : sel + QStringLiteral("/sub"));
        if (rename) fs.entered.release(3);  // the collection before passes the gate freely
        if (rename) fs.gate.release(3);
        TestWindow w(ini(), fs, m_box, m_clock);
        w.show();
        const MainControls& c = w.controls();
        c.txtRefer->setText(m_dir.filePath(QStringLiteral("参照なし")));
        c.txtSelect->setText(sel);
        c.txtNumber->setText(QStringLiteral("00001"));
        if (rename) {
            c.cmdSelect->click();
            QVERIFY(finishCommand(w));
            fs.entered.acquire(fs.entered.available());
            fs.gate.acquire(fs.gate.available());
        }
        if (rename) {
            // Numbering finds its plan first, and renames nothing until it is carried out.
            c.cmdRename->click();
            QVERIFY(finishCommand(w));
            QVERIFY(w.shownPlan());
        }
        const int writesBefore = int(w.writes.size());
        QSignalSpy strayClicks(c.cmdClear, &QToolButton::clicked);
        bool held = false;
        QTimer::singleShot(0, &w, [&] {
            // This runs at all only because the event loop goes on during the command.
            // The command is let go however this ends, so a failure here cannot hang.
            const auto letGo = qScopeGuard([&] { fs.gate.release(); });
            held = fs.entered.tryAcquire(1, 5000);
            QTest::mouseClick(c.cmdClear, Qt::LeftButton);
            // A pending refresh of the extension list waits: it would clear the
            // table the command is filling.
            emit c.cmbExtent->activated(0);
            // Text from an input method or a drop reaches no box, and the table is
            // never emptied under the command, whoever asks.
            const QList<QLineEdit*> boxes = {c.cmbExtent->lineEdit(),
                                             c.txtNumber,
                                             c.txtName,
                                             c.txtRefer,
                                             c.txtSelect,
                                             c.txtMove,
                                             c.txtDelete};
            QStringList before;
            for (QLineEdit* box : boxes) before << box->text();
            for (QLineEdit* box : boxes) {
                QInputMethodEvent commit;
                commit.setCommitString(QStringLiteral("写真"));
                QApplication::sendEvent(box, &commit);
                QMimeData text;
                text.setText(QStringLiteral("落とした"));
                QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &text, Qt::LeftButton, {});
                QApplication::sendEvent(box, &enter);
                QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &text, Qt::LeftButton, {});
                QApplication::sendEvent(box, &drop);
            }
            QStringList after;
            for (QLineEdit* box : boxes) after << box->text();
            QCOMPARE(after, before);
            w.cmdClear_Click();
            QTest::qWait(30);
            QCOMPARE(w.files().FileCount(), rename ? 4 : 0);
            m_box.script = {stop ? Answer::Yes : Answer::No};
            if (viaClose)
                w.close();
            else
                QTest::keyClick(c.grdList, Qt::Key_Escape);
            QVERIFY(w.isVisible());  // nothing ends before the command does
        });
        // The closing message as the command left it: the refresh asked for
        // during the run clears the list (and the message) soon after.
        QString shown;
        qint32 listedAtEnd = -1;
        bool collectAgainAtEnd = false;
        connect(&w, &frmQuillo::commandFinished, this, [&] {
            shown = c.lblMsg->text();
            listedAtEnd = w.files().FileCount();
            collectAgainAtEnd = c.cmdSelect->isEnabled();
        });
        if (rename)
            QTest::keyClick(c.grdList, Qt::Key_Return);  // carries out the plan under review
        else
            c.cmdSelect->click();
        QVERIFY(finishCommand(w));
        QVERIFY(held);
        QCOMPARE(strayClicks.count(), 0);
        QCOMPARE(m_box.texts, QStringList{QStringLiteral("処理を中止しますか？")});
        // After the close button the window has closed as the quit button closes it.
        QCOMPARE(shown, viaClose ? QString() : message);
        if (rename) {
            // The file held in its rename was renamed, the one after it was not;
            // the number goes on after the last one used.
            QCOMPARE(c.txtNumber->text(), QStringLiteral("00004"));
            QCOMPARE(w.writes.size(), writesBefore + 1);
            QVERIFY(w.writes.last().contains(*encodeCp932(u"ファイル№,00004\r\n")));
            QVERIFY(QFile::exists(sel + QStringLiteral("/sub/GAZOU00003.JPG")));
            QVERIFY(QFile::exists(sel + QStringLiteral("/sub/d.jpg")));
            return;
        }
        // A stopped collection leaves the list as it was before; the refresh
        // asked for during the run then empties it either way.
        QCOMPARE(listedAtEnd, stop ? 0 : 4);
        QCOMPARE(collectAgainAtEnd, stop);
        QTRY_COMPARE(w.files().FileCount(), 0);
        QCOMPARE(w.isVisible(), !viaClose);
        QCOMPARE(w.writes.size(), writesBefore + (viaClose ? 1 : 0));
    }

    // A failure that comes while the stop question is open is asked after it,
    // never in a second box on top of it.
    void questionsNeverStack() {
        const QString sel = m_dir.filePath(QStringLiteral("重ならない"));
        writeFile(sel + QStringLiteral("/a.jpg"), "a");
        BlockingFileSystem fs(QStringLiteral("rename"), sel + QStringLiteral("/a.jpg"));
        fs.failRename.insert(sel + QStringLiteral("/a.jpg"), code::PermissionDenied);
        ModalMessageBox box;
        box.script = {Answer::No, Answer::Yes};  // go on, then go on after the failure
        TestWindow w(ini(), fs, box, m_clock);
        w.show();
        const MainControls& c = w.controls();
        c.txtRefer->setText(m_dir.filePath(QStringLiteral("参照なし")));
        c.txtSelect->setText(sel);
        c.cmdSelect->click();
        QVERIFY(finishCommand(w));
        box.onShow = [&] { fs.gate.release(); };  // the failure comes while the box is open
        c.cmdRename->click();
        QVERIFY(finishCommand(w));
        QTimer::singleShot(0, &w, [&] {
            QVERIFY(fs.entered.tryAcquire(1, 5000));
            QTest::keyClick(c.grdList, Qt::Key_Escape);
        });
        QTest::keyClick(c.grdList, Qt::Key_Return);
        QVERIFY(finishCommand(w));
        QCOMPARE(box.mostOpen, 1);
        QCOMPARE(box.texts,
                 (QStringList{QStringLiteral("処理を中止しますか？"),
                              nativePath(sel + QStringLiteral("/a.jpg")) + QStringLiteral("\r70") +
                                  describeFailure(code::PermissionDenied) +
                                  QStringLiteral("\r処理を続けますか？")}));
    }

    // A review walked by keyboard only: Escape leaves everything as it was;
    // arrows move, Space leaves a duplicate out, Enter carries out the rest
    // (one swapped through the list's menu), and the list keeps the outcomes.
    void reviewByKeyboardOnly() {
        const QString ref = m_dir.filePath(QStringLiteral("キー参照"));
        const QString sel = m_dir.filePath(QStringLiteral("鍵"));
        writeFile(ref + QStringLiteral("/r.jpg"), "A");
        for (const auto& [name, bytes] :
             {std::pair{"a.JPG", "A"}, {"b.JPG", "B"}, {"c.JPG", "B"}, {"d.JPG", "B"}})
            writeFile(sel + u'/' + QString::fromLatin1(name), bytes);
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.show();
        const MainControls& c = w.controls();
        c.txtRefer->setText(ref);
        c.txtSelect->setText(sel);
        for (QToolButton* collect : {c.cmdSelect, c.cmdRefer}) {
            collect->click();
            QVERIFY(finishCommand(w));
        }
        const auto present = [&] {
            QStringList names;
            for (const char* name : {"a.JPG", "b.JPG", "c.JPG", "d.JPG"})
                if (QFile::exists(sel + u'/' + QString::fromLatin1(name)))
                    names << QString::fromLatin1(name);
            return names;
        };
        const QStringList all = present();

        c.cmdDelete->click();
        QVERIFY(finishCommand(w));
        QVERIFY2(w.shownPlan(), qPrintable(c.lblMsg->text() + m_box.texts.join(u'|')));
        QCOMPARE(w.focusWidget(), c.grdList);  // never a button that removes
        QCOMPARE(w.reviewBar().summary(),
                 QStringLiteral("重複ファイル 3件（3 バイト）をごみ箱に移します"));
        QTest::keyClick(c.grdList, Qt::Key_Escape);
        QVERIFY(!w.shownPlan());
        QCOMPARE(present(), all);
        QCOMPARE(c.grdList->model(), &w.listModel());
        QCOMPARE(w.listModel().rowCount(), 5);
        QVERIFY(c.cmdDelete->isEnabled());

        c.cmdDelete->click();
        QVERIFY(finishCommand(w));
        // Rows: a beside r.jpg, then c and d beside b.JPG.
        QTest::keyClick(c.grdList, Qt::Key_Down);
        QTest::keyClick(c.grdList, Qt::Key_Space);  // c stays
        QTest::keyClick(c.grdList, Qt::Key_Down);
        QAction* swap = nullptr;
        for (QAction* a : c.grdList->actions())
            if (a->text().startsWith(QStringLiteral("このファイルを残す"))) swap = a;
        QVERIFY(swap && swap->isEnabled());
        swap->trigger();  // d stays, b goes in its place
        QCOMPARE(w.reviewBar().summary(),
                 QStringLiteral("重複ファイル 2件（2 バイト）をごみ箱に移します"));
        QTest::keyClick(c.grdList, Qt::Key_Return);
        QVERIFY(finishCommand(w));
        QCOMPARE(present(), (QStringList{QStringLiteral("c.JPG"), QStringLiteral("d.JPG")}));
        QVERIFY(QFile::exists(ref + QStringLiteral("/r.jpg")));
        // Where the system has no trash, the user was asked and said yes.
        const QString gone = trashAvailable() ? QStringLiteral("ごみ箱に移しました")
                                              : QStringLiteral("完全に削除しました");
        QCOMPARE(c.lblMsg->text(), QStringLiteral("2件、") + gone);
        const QAbstractItemModel* outcomes = c.grdList->model();
        const int last = outcomes->columnCount() - 1;
        QCOMPARE(outcomes->index(1, last).data().toString(),
                 QStringLiteral("選択されていないため残しました"));
        QCOMPARE(outcomes->index(2, last).data().toString(), gone);
        QCOMPARE(outcomes->index(2, 2).data().toString(), QStringLiteral("b.JPG"));
        // 消去 ends the showing of the outcomes.
        c.cmdClear->click();
        QVERIFY(!w.shownPlan());
    }

    void commandsThroughTheButtons() {
        const QString ref = m_dir.filePath(QStringLiteral("参照"));
        const QString sel = m_dir.filePath(QStringLiteral("写真"));
        for (int i = 0; i < 3; ++i)
            writeFile(ref + QStringLiteral("/r%1.jpg").arg(i), QByteArray("ref") + char('a' + i));
        for (int i = 0; i < 10; ++i)
            writeFile(sel + QStringLiteral("/s%1.JPG").arg(i), QByteArray("sel") + char('a' + i));
        writeFile(sel + QStringLiteral("/s9.JPG"), "refa");  // equals r0.jpg
        TestWindow w(ini(), systemFileSystem(), m_box, m_clock);
        w.show();
        const MainControls& c = w.controls();
        c.txtRefer->setText(ref);
        c.txtSelect->setText(sel);

        // From the keyboard: the button that disables itself hands the focus
        // to the list, never to the next command (one more Space would start it).
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        c.cmdSelect->setFocus();
        QTest::keyClick(c.cmdSelect, Qt::Key_Space);

        QVERIFY(finishCommand(w));
        QCOMPARE(w.focusWidget(), c.grdList);
        QCOMPARE(c.lblMsg->text(), QStringLiteral("10件、抽出しました"));
        QCOMPARE(c.lblCount->text(), QStringLiteral("(10)"));
        QVERIFY(!c.cmdSelect->isEnabled());
        QVERIFY(c.timEdit->isActive());
        c.cmdRefer->click();
        QVERIFY(finishCommand(w));
        QCOMPARE(c.lblMsg->text(), QStringLiteral("3件、追加しました"));
        QCOMPARE(c.lblCount->text(), QStringLiteral("(13)"));
        QTRY_VERIFY(!c.timEdit->isActive());
        QCOMPARE(w.listModel().rowCount(), 13);

        c.cmdDelete->click();
        QVERIFY(finishCommand(w));
        QTest::keyClick(c.grdList, Qt::Key_Return);
        QVERIFY(finishCommand(w));
        if (!trashAvailable()) {
            QCOMPARE(c.lblMsg->text(), QStringLiteral("1件、完全に削除しました"));
            QVERIFY(!QFile::exists(sel + QStringLiteral("/s9.JPG")));
            QSKIP("the rest takes a trashed file back: this system has no trash");
        }
        QCOMPARE(c.lblMsg->text(), QStringLiteral("1件、ごみ箱に移しました"));
        QVERIFY(!QFile::exists(sel + QStringLiteral("/s9.JPG")));
        const QString trash = m_dir.filePath(QStringLiteral("data/Trash/"));
        QCOMPARE(readFile(trash + QStringLiteral("files/s9.JPG")), QByteArray("refa"));
        const QByteArray info = readFile(trash + QStringLiteral("info/s9.JPG.trashinfo"));
        QVERIFY(info.startsWith("[Trash Info]\nPath="));
        QVERIFY(isAbsoluteFolder(QString::fromUtf8(
            QByteArray::fromPercentEncoding(info.sliced(18).split('\n').first()))));
        QCOMPARE(w.dupCount(), 1);
        QCOMPARE(w.writes.size(), 1);  // the completed pass saved the settings
        QCOMPARE(w.listModel().rowCount(), 0);

        w.setNumber(QStringLiteral("00007"), 5);
        c.cmdSelect->click();
        QVERIFY(finishCommand(w));
        QCOMPARE(w.files().FileCount(), 9);
        c.cmdRename->click();
        QVERIFY(finishCommand(w));
        QTest::keyClick(c.grdList, Qt::Key_Return);
        QVERIFY(finishCommand(w));
        QCOMPARE(c.lblMsg->text(), QStringLiteral("9件、リネームしました"));
        QCOMPARE(c.txtNumber->text(), QStringLiteral("00016"));
        QCOMPARE(w.digitCount(), qint16(5));
        QVERIFY(QFile::exists(sel + QStringLiteral("/GAZOU00007.JPG")));
        QVERIFY(QFile::exists(sel + QStringLiteral("/GAZOU00015.JPG")));
        QCOMPARE(w.writes.size(), 2);
        QVERIFY(w.writes.last().contains(*encodeCp932(u"ファイル№,00016\r\n")));
        QVERIFY(m_box.texts.isEmpty());

        // Ctrl+Z takes the numbering back, the list's menu then the removal.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(finishCommand(w));
        QCOMPARE(m_box.texts, QStringList{QStringLiteral("直前の処理（9件）を元に戻しますか？")});
        QCOMPARE(c.lblMsg->text(), QStringLiteral("9件、元に戻しました"));
        QCOMPARE(c.txtNumber->text(), QStringLiteral("00007"));
        QVERIFY(QFile::exists(sel + QStringLiteral("/s0.JPG")));
        QVERIFY(!QFile::exists(sel + QStringLiteral("/GAZOU00007.JPG")));
        QAction* undo = nullptr;
        for (QAction* a : c.grdList->actions())
            if (a->text() == QStringLiteral("直前の処理を元に戻す")) undo = a;
        QVERIFY(undo);
        QCOMPARE(undo->text(), QStringLiteral("直前の処理を元に戻す"));
        undo->trigger();
        QVERIFY(finishCommand(w));
        QCOMPARE(readFile(sel + QStringLiteral("/s9.JPG")), QByteArray("refa"));
        QVERIFY(!QFile::exists(trash + QStringLiteral("info/s9.JPG.trashinfo")));
    }
};

QTEST_MAIN(TstWindowInputs)
#include "tst_windowinputs.moc"
