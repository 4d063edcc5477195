// The folder chooser: its lists, OK and Cancel, opening, and the drive change.

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "core/failure.h"
#include "faultyfilesystem.h"
#include "files.h"
#include "scriptedmessagebox.h"
#include "ui/folderchooser.h"
#include "ui/folderpaths.h"
#include "ui/mainwindow.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// The real disk with a made-up set of mounted volumes, so a drive change can be
// tested on a machine with a single volume.
class FakeVolumes : public FaultyFileSystem {
  public:
    std::vector<QString> roots;
    std::vector<QString> volumes() override { return roots; }
};

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
    return out;
}

// Every item of the directory list, depth first, as "indent level:text".
QStringList shown(QTreeWidget* list) {
    QStringList out;
    QTreeWidgetItemIterator it(list);
    for (; *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) ++depth;
        out << QString::number(depth) + QLatin1Char(':') + (*it)->text(0);
    }
    return out;
}

// The next widget that the Tab key stops at.
QWidget* nextTabStop(QWidget* w) {
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

QTreeWidgetItem* itemNamed(QTreeWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

}  // namespace

class TstFolderChooser : public QObject {
    Q_OBJECT
  private slots:
    void pathRules();
    void subfolderListing();
    void layout();
    void listsAndOpensFolders();
    void okAndCancel();
    void refusesFoldersItCannotShow();
    void openWithMissingFolderIsSilent();
    void driveChange();
    void driveChangeFailure();
    void keepsFolderBetweenOpenings();
    void windowOkWritesLatestOpenersBox();
    void windowCancelAndFrameCloseChangeNothing();
    void windowOpensForMissingFolderSilently();
    void windowShutdownDestroysChooser();
};

void TstFolderChooser::pathRules() {
    QVERIFY(isUnder(QStringLiteral("/mnt/a/b"), QStringLiteral("/mnt/a")));
    QVERIFY(isUnder(QStringLiteral("/mnt/a"), QStringLiteral("/mnt/a")));
    QVERIFY(!isUnder(QStringLiteral("/mnt/ab"), QStringLiteral("/mnt/a")));
    QVERIFY(isUnder(QStringLiteral("/x"), QStringLiteral("/")));

    const QStringList roots = {QStringLiteral("/"), QStringLiteral("/mnt/a"),
                               QStringLiteral("/mnt/ab")};
    QCOMPARE(volumeOf(roots, QStringLiteral("/mnt/ab/写真")), QStringLiteral("/mnt/ab"));
    QCOMPARE(volumeOf(roots, QStringLiteral("/mnt/a")), QStringLiteral("/mnt/a"));
    QCOMPARE(volumeOf(roots, QStringLiteral("/mnt/abc")), QStringLiteral("/"));
    QCOMPARE(volumeOf(roots, QStringLiteral("relative")), QString());

    // Pseudo file systems are left out, removable media kept, "/" always first.
    const QStringList drives = driveRoots(
        {QStringLiteral("/proc"), QStringLiteral("/sys/fs/cgroup"), QStringLiteral("/dev/shm"),
         QStringLiteral("/run/user/0"), QStringLiteral("/run/media/u/カメラ"),
         QStringLiteral("/mnt/b/"), QStringLiteral("/mnt/b"), QStringLiteral("/Data")});
    QCOMPARE(drives,
             (QStringList{QStringLiteral("/"), QStringLiteral("/Data"), QStringLiteral("/mnt/b"),
                          QStringLiteral("/run/media/u/カメラ")}));

    QCOMPARE(cleanFolder(QStringLiteral("/a//b/../c/")), QStringLiteral("/a/c"));
    QCOMPARE(cleanFolder(QStringLiteral("a/b")), QString());
    QCOMPARE(cleanFolder(QString()), QString());

    QCOMPARE(
        folderChain(QStringLiteral("/"), QStringLiteral("/画像/旅行")),
        (QStringList{QStringLiteral("/"), QStringLiteral("/画像"), QStringLiteral("/画像/旅行")}));
    QCOMPARE(folderChain(QStringLiteral("/mnt/a"), QStringLiteral("/mnt/a/x")),
             (QStringList{QStringLiteral("/mnt/a"), QStringLiteral("/mnt/a/x")}));
    QCOMPARE(folderChain(QStringLiteral("/"), QStringLiteral("/")),
             QStringList{QStringLiteral("/")});
}

void TstFolderChooser::subfolderListing() {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    makeDir(root + QStringLiteral("/写真"));
    makeDir(root + QStringLiteral("/b"));
    makeDir(root + QStringLiteral("/A"));
    makeDir(root + QStringLiteral("/.隠し"));
    writeFile(root + QStringLiteral("/ファイル.JPG"), "x");
    QUILLO_SYMLINK_OR_SKIP(root + QStringLiteral("/写真"), root + QStringLiteral("/リンク"));

    FaultyFileSystem fs;
    const Result<QStringList> names = subfolders(fs, root);
    QVERIFY(names.ok());
    QCOMPARE(names.value(),
             (QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("写真")}));

    fs.failList.insert(root, code::DeviceIo);
    const Result<QStringList> failed = subfolders(fs, root);
    QVERIFY(!failed.ok());
    QCOMPARE(failed.failure().code, code::DeviceIo);
}

void TstFolderChooser::layout() {
    ScriptedMessageBox box;
    frmFolder dlg(systemFileSystem(), box);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("フォルダの設定"));
    QCOMPARE(dlg.size(), QSize(233, 304));  // 3495 x 4560 twips

    auto* drv = dlg.findChild<QComboBox*>(QStringLiteral("drvList"));
    auto* dir = dlg.findChild<QTreeWidget*>(QStringLiteral("dirList"));
    auto* ok = dlg.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    QVERIFY(drv && dir && ok && cancel);
    QCOMPARE(drv->geometry(), QRect(8, 8, 217, 20));
    QCOMPARE(dir->geometry(), QRect(8, 40, 217, 216));
    QCOMPARE(ok->geometry(), QRect(16, 264, 89, 33));
    QCOMPARE(cancel->geometry(), QRect(128, 264, 89, 33));
    QCOMPARE(ok->text(), QStringLiteral("設定(&S)"));
    QCOMPARE(cancel->text(), QStringLiteral("取消(&C)"));
    QVERIFY(!ok->isDefault() && !cancel->isDefault());
    QCOMPARE(nextTabStop(drv), static_cast<QWidget*>(dir));
    QCOMPARE(nextTabStop(dir), static_cast<QWidget*>(ok));
    QCOMPARE(nextTabStop(ok), static_cast<QWidget*>(cancel));
    QCOMPARE(drv->itemText(0), QStringLiteral("/"));

    // The list starts at the process's current directory.
    QCOMPARE(dlg.directory(), QDir::currentPath());
}

void TstFolderChooser::listsAndOpensFolders() {
    QTemporaryDir tmp;
    const QString base = tmp.path() + QStringLiteral("/画像");
    makeDir(base + QStringLiteral("/旅行/京都"));
    makeDir(base + QStringLiteral("/家族"));
    writeFile(base + QStringLiteral("/写真.JPG"), "x");

    ScriptedMessageBox box;
    frmFolder dlg(systemFileSystem(), box);
    auto* dir = dlg.findChild<QTreeWidget*>(QStringLiteral("dirList"));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(dlg.setDirectory(base));
    QCOMPARE(dlg.directory(), base);

    // The chain from the root down to the folder, then its subfolders one deeper.
    const QStringList chain = base.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList lines = shown(dir);
    QCOMPARE(lines.first(), QStringLiteral("0:/"));
    QCOMPARE(lines.at(chain.size()), QString::number(chain.size()) + QStringLiteral(":画像"));
    QCOMPARE(lines.mid(chain.size() + 1),
             (QStringList{QString::number(chain.size() + 1) + QStringLiteral(":家族"),
                          QString::number(chain.size() + 1) + QStringLiteral(":旅行")}));
    QCOMPARE(dir->currentItem()->text(0), QStringLiteral("画像"));

    // Enter on a subfolder opens it.
    dir->setFocus();
    dir->setCurrentItem(itemNamed(dir, QStringLiteral("旅行")));
    QTest::keyClick(dir, Qt::Key_Return);
    QCOMPARE(dlg.directory(), base + QStringLiteral("/旅行"));
    QCOMPARE(childTexts(dir->currentItem()), QStringList{QStringLiteral("京都")});

    // Double-clicking a folder of the chain goes back up.
    QVERIFY(dlg.setDirectory(base + QStringLiteral("/旅行")));
    QTreeWidgetItem* up = itemNamed(dir, QStringLiteral("画像"));
    QVERIFY(up);
    const QPoint at = dir->visualItemRect(up).center();
    // The test library's double-click needs the press of a first click before it.
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dlg.directory(), base + QStringLiteral("/旅行"));  // a single click only selects
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dlg.directory(), base);

    // A folder removed after it was listed: its failure is shown, the list stays.
    dlg.setDirectory(base);
    QVERIFY(QDir(base + QStringLiteral("/家族")).removeRecursively());
    emit dir->itemActivated(itemNamed(dir, QStringLiteral("家族")), 0);
    QCOMPARE(dlg.directory(), base);
    QCOMPARE(box.texts, QStringList{QStringLiteral("76") + describeFailure(code::PathNotFound)});
}

void TstFolderChooser::okAndCancel() {
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QStringLiteral("/保存先");
    makeDir(folder);

    ScriptedMessageBox box;
    frmFolder dlg(systemFileSystem(), box);
    QSignalSpy chosen(&dlg, &frmFolder::folderChosen);
    auto* ok = dlg.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("cmdCancel"));

    dlg.openAt(QPoint(40, 30), folder + QStringLiteral("/"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.pos(), QPoint(40, 30));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.takeFirst().at(0).toString(), folder);  // no trailing separator

    dlg.openAt(QPoint(40, 30), folder);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(chosen.count(), 0);

    // Escape is Cancel wherever the focus is; Enter presses the focused button.
    dlg.openAt(QPoint(40, 30), folder);
    QTest::keyClick(dlg.findChild<QTreeWidget*>(QStringLiteral("dirList")), Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(chosen.count(), 0);
    dlg.openAt(QPoint(40, 30), folder);
    QTest::keyClick(ok, Qt::Key_Return);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.takeFirst().at(0).toString(), folder);

    // Closing through the frame only hides; nothing is delivered.
    dlg.openAt(QPoint(40, 30), folder);
    QVERIFY(dlg.close());
    QVERIFY(!dlg.isVisible());
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(dlg.directory(), folder);

    // The root is the one folder delivered with a separator at its end.
    dlg.openAt(QPoint(40, 30), QStringLiteral("/"));
    QCOMPARE(dlg.directory(), QStringLiteral("/"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.takeFirst().at(0).toString(), QStringLiteral("/"));
    QVERIFY(box.texts.isEmpty());
}

void TstFolderChooser::refusesFoldersItCannotShow() {
    QTemporaryDir tmp;
    const QString kept = tmp.path() + QStringLiteral("/残る");
    const QString gone = tmp.path() + QStringLiteral("/消えた");
    const QString file = tmp.path() + QStringLiteral("/ファイル.JPG");
    const QString broken = tmp.path() + QStringLiteral("/壊れた");
    makeDir(kept);
    makeDir(gone);
    makeDir(broken);
    writeFile(file, "x");
    QVERIFY(QDir(gone).removeRecursively());

    FaultyFileSystem fs;
    fs.failList.insert(broken, code::DeviceIo);
    ScriptedMessageBox box;
    frmFolder dlg(fs, box);
    auto* dir = dlg.findChild<QTreeWidget*>(QStringLiteral("dirList"));
    QVERIFY(dlg.setDirectory(kept));
    const QStringList before = shown(dir);

    for (const QString& bad : {gone, file, broken, QString(), QStringLiteral("相対/パス")}) {
        QVERIFY2(!dlg.setDirectory(bad), qPrintable(bad));
        QCOMPARE(dlg.directory(), kept);
        QCOMPARE(shown(dir), before);
    }
    QVERIFY(box.texts.isEmpty());
}

void TstFolderChooser::openWithMissingFolderIsSilent() {
    QTemporaryDir tmp;
    const QString kept = tmp.path() + QStringLiteral("/前回");
    const QString gone = tmp.path() + QStringLiteral("/削除済み");
    makeDir(kept);
    makeDir(gone);

    ScriptedMessageBox box;
    frmFolder dlg(systemFileSystem(), box);
    QVERIFY(dlg.setDirectory(kept));
    QVERIFY(QDir(gone).removeRecursively());

    dlg.openAt(QPoint(10, 20), gone);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.pos(), QPoint(10, 20));
    QCOMPARE(dlg.directory(), kept);

    dlg.hide();
    dlg.openAt(QPoint(10, 20), QString());  // an empty box opens the same way
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.directory(), kept);
    QVERIFY(box.texts.isEmpty());
}

void TstFolderChooser::driveChange() {
    QTemporaryDir tmp;
    const QString vol = tmp.path() + QStringLiteral("/ボリューム");
    const QString onVol = vol + QStringLiteral("/写真/2024");
    const QString onRoot = tmp.path() + QStringLiteral("/ほか");
    makeDir(onVol);
    makeDir(onRoot);

    FakeVolumes fs;
    fs.roots = {QStringLiteral("/"), vol};
    ScriptedMessageBox box;
    frmFolder dlg(fs, box);
    auto* drv = dlg.findChild<QComboBox*>(QStringLiteral("drvList"));
    QCOMPARE(drv->count(), 2);
    QVERIFY(dlg.setDirectory(onRoot));
    QVERIFY(dlg.setDrive(onRoot));
    QCOMPARE(drv->currentText(), QStringLiteral("/"));

    // Choosing the other drive in the list shows that drive's root at first.
    drv->setCurrentIndex(1);
    QCOMPARE(dlg.directory(), vol);
    QVERIFY(dlg.setDirectory(onVol));

    // Back on "/", the list returns to the folder it last showed there, and the
    // other drive remembers its folder too.
    QVERIFY(dlg.setDrive(QStringLiteral("/etc")));
    QCOMPARE(drv->currentText(), QStringLiteral("/"));
    QCOMPARE(dlg.directory(), onRoot);
    drv->setCurrentIndex(1);
    QCOMPARE(dlg.directory(), onVol);

    // Opening for a folder on another drive shows that folder, not the drive's
    // remembered one.
    const QString other = tmp.path() + QStringLiteral("/ほか");
    dlg.openAt(QPoint(0, 0), other);
    QCOMPARE(dlg.directory(), other);
    QCOMPARE(drv->currentText(), QStringLiteral("/"));
    QVERIFY(box.texts.isEmpty());
}

void TstFolderChooser::driveChangeFailure() {
    QTemporaryDir tmp;
    const QString vol = tmp.path() + QStringLiteral("/空のドライブ");
    const QString here = tmp.path() + QStringLiteral("/作業");
    makeDir(vol);
    makeDir(here);

    FakeVolumes fs;
    fs.roots = {QStringLiteral("/"), vol};
    fs.failList.insert(vol, code::DeviceIo);
    ScriptedMessageBox box;
    frmFolder dlg(fs, box);
    auto* drv = dlg.findChild<QComboBox*>(QStringLiteral("drvList"));
    QVERIFY(dlg.setDirectory(here));

    QVERIFY(!dlg.setDrive(vol + QStringLiteral("/何か")));
    QCOMPARE(box.texts, QStringList{QStringLiteral("57") + describeFailure(code::DeviceIo)});
    QCOMPARE(box.buttons, QList<Buttons>{Buttons::Ok});
    QCOMPARE(drv->currentText(), QStringLiteral("/"));
    QCOMPARE(dlg.directory(), here);

    // The same through the user's choice in the list.
    drv->setCurrentIndex(1);
    QCOMPARE(box.texts.size(), 2);
    QCOMPARE(drv->currentText(), QStringLiteral("/"));
    QCOMPARE(dlg.directory(), here);

    // Once readable, the drive change goes through.
    fs.failList.clear();
    QVERIFY(dlg.setDrive(vol));
    QCOMPARE(dlg.directory(), vol);
    QCOMPARE(box.texts.size(), 2);
}

void TstFolderChooser::keepsFolderBetweenOpenings() {
    QTemporaryDir tmp;
    const QString first = tmp.path() + QStringLiteral("/一");
    const QString second = tmp.path() + QStringLiteral("/一/二");
    makeDir(second);

    ScriptedMessageBox box;
    frmFolder dlg(systemFileSystem(), box);
    QSignalSpy chosen(&dlg, &frmFolder::folderChosen);
    auto* dir = dlg.findChild<QTreeWidget*>(QStringLiteral("dirList"));
    auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("cmdCancel"));

    dlg.openAt(QPoint(0, 0), first);
    dir->setCurrentItem(itemNamed(dir, QStringLiteral("二")));
    QTest::keyClick(dir, Qt::Key_Enter);
    QCOMPARE(dlg.directory(), second);
    QTest::mouseClick(cancel, Qt::LeftButton);

    // Hidden, not reset: it still shows where the user browsed to.
    QCOMPARE(dlg.directory(), second);
    dlg.openAt(QPoint(0, 0), tmp.path() + QStringLiteral("/ない"));
    QCOMPARE(dlg.directory(), second);

    // A box with a folder starts from that folder again.
    dlg.hide();
    dlg.openAt(QPoint(0, 0), first);
    QCOMPARE(dlg.directory(), first);
    QCOMPARE(chosen.count(), 0);
}

namespace {

// The main window on a fresh settings path (defaults), with its four boxes.
struct Window {
    QTemporaryDir tmp;
    ScriptedMessageBox box;
    frmQuillo w{tmp.filePath(QStringLiteral("Quillo.INI")), systemFileSystem(), box, systemClock()};

    QStringList boxes() const {
        const MainControls& c = w.controls();
        return {c.txtRefer->text(), c.txtSelect->text(), c.txtMove->text(), c.txtDelete->text()};
    }
    void click(QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    QPushButton* button(const char* name) {
        return w.chooser()->findChild<QPushButton*>(QLatin1String(name));
    }
};

}  // namespace

void TstFolderChooser::windowOkWritesLatestOpenersBox() {
    Window win;
    const MainControls& c = win.w.controls();
    const QString chosen = win.tmp.filePath(QStringLiteral("参照先"));
    makeDir(chosen);
    const QStringList before = win.boxes();
    QCOMPARE(before.at(0), QDir::currentPath());  // defaults come from the chooser

    // Opened for the move box, then for the reference box before OK.
    win.click(c.cmdMoveInp);
    QVERIFY(win.w.chooser()->isVisible());
    QCOMPARE(win.w.callBack(), SettingsFolder::Move);
    win.click(c.cmdReferInp);
    QCOMPARE(win.w.callBack(), SettingsFolder::Refer);
    QVERIFY(win.w.chooser()->setDirectory(chosen));
    QTest::mouseClick(win.button("cmdOk"), Qt::LeftButton);
    QVERIFY(!win.w.chooser()->isVisible());
    QCOMPARE(win.boxes(), (QStringList{chosen, before.at(1), before.at(2), before.at(3)}));

    // Each opener writes its own box; the root arrives as "/".
    win.click(c.cmdDeleteInp);
    QVERIFY(win.w.chooser()->setDirectory(QStringLiteral("/")));
    QTest::mouseClick(win.button("cmdOk"), Qt::LeftButton);
    QCOMPARE(win.boxes(), (QStringList{chosen, before.at(1), before.at(2), QStringLiteral("/")}));
    QVERIFY(win.box.texts.isEmpty());
}

void TstFolderChooser::windowCancelAndFrameCloseChangeNothing() {
    Window win;
    const MainControls& c = win.w.controls();
    const QString elsewhere = win.tmp.filePath(QStringLiteral("別の場所"));
    makeDir(elsewhere);
    const QStringList before = win.boxes();

    win.click(c.cmdSelectInp);
    QVERIFY(win.w.chooser()->setDirectory(elsewhere));
    QTest::mouseClick(win.button("cmdCancel"), Qt::LeftButton);
    QCOMPARE(win.boxes(), before);

    // The next opening starts from the box's folder again.
    win.click(c.cmdSelectInp);
    QCOMPARE(win.w.chooser()->directory(), before.at(1));

    QVERIFY(win.w.chooser()->setDirectory(elsewhere));
    QVERIFY(win.w.chooser()->close());
    QCOMPARE(win.boxes(), before);
}

void TstFolderChooser::windowOpensForMissingFolderSilently() {
    Window win;
    const MainControls& c = win.w.controls();
    const QString gone = win.tmp.filePath(QStringLiteral("移動先"));
    makeDir(gone);
    win.w.setFolderText(SettingsFolder::Move, gone);
    QVERIFY(QDir(gone).removeRecursively());
    const QString shownBefore = win.w.chooser()->directory();
    win.w.move(100, 80);
    win.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win.w));

    win.click(c.cmdMoveInp);
    QVERIFY(win.w.chooser()->isVisible());
    QCOMPARE(win.w.chooser()->directory(), shownBefore);
    QVERIFY(win.box.texts.isEmpty());
    // Its outer top left on the main window's.
    QCOMPARE(win.w.chooser()->frameGeometry().topLeft(), win.w.frameGeometry().topLeft());
}

void TstFolderChooser::windowShutdownDestroysChooser() {
    Window win;
    win.click(win.w.controls().cmdReferInp);
    QPointer<frmFolder> chooser = win.w.chooser();
    QVERIFY(chooser && chooser->isVisible());
    win.w.close();
    QVERIFY(chooser.isNull());
}

QTEST_MAIN(TstFolderChooser)
#include "tst_folderchooser.moc"
