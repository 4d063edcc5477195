#include "ui/folderchooser.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include "core/paths.h"
#include "platform/volumes.h"
#include "ui/folderpaths.h"
#include "ui/twips.h"

namespace quillo {

namespace {

constexpr int kPathRole = Qt::UserRole;

// The list is always fully open, so it draws no expand or collapse controls.
class FolderTree : public QTreeWidget {
  public:
    using QTreeWidget::QTreeWidget;

  protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height));
}

}  // namespace

frmFolder::frmFolder(FileSystem& fs, MessageBox& box, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_fs(fs), m_box(box) {
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("フォルダの設定"));
    setFixedSize(twipsSize(3495, 4560));

    // Created in tab order.
    drvList = new QComboBox(this);
    drvList->setObjectName(QStringLiteral("drvList"));
    place(drvList, 120, 120, 3255, 300);

    dirList = new FolderTree(this);
    dirList->setObjectName(QStringLiteral("dirList"));
    dirList->setHeaderHidden(true);
    dirList->setRootIsDecorated(false);
    dirList->setItemsExpandable(false);
    dirList->setIndentation(px(180));
    dirList->setUniformRowHeights(true);
    dirList->header()->setStretchLastSection(false);
    dirList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    place(dirList, 120, 600, 3255, 3240);

    cmdOk = new QPushButton(QStringLiteral("設定(&S)"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    place(cmdOk, 240, 3960, 1335, 495);

    cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(cmdCancel, 1920, 3960, 1335, 495);

    // Enter presses the focused button; neither is a default button that
    // Enter presses from elsewhere (in dirList it opens the folder).
    for (QPushButton* b : {cmdOk, cmdCancel}) {
        b->setAutoDefault(true);
        b->setDefault(false);
    }
    // A combo box reads out its current text; its drop-down list is named.
    drvList->setAccessibleName(QStringLiteral("ドライブ"));
    drvList->view()->setAccessibleName(drvList->accessibleName());
    dirList->setAccessibleName(QStringLiteral("フォルダ"));
    setTabOrder(drvList, dirList);
    setTabOrder(dirList, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    // The list starts at the process's current directory, as start-up expects.
    refreshDrives();
    Failure ignored;
    if (!showFolder(QDir::currentPath(), &ignored) && !showFolder(mainVolume(), &ignored)) {
        m_current = mainVolume();
        fillDirList({});
    }
    {
        const QSignalBlocker quiet(drvList);
        drvList->setCurrentIndex(driveIndex(volumeOf(m_roots, m_current)));
    }

    connect(drvList, &QComboBox::currentIndexChanged, this, &frmFolder::drvList_Change);
    connect(dirList, &QTreeWidget::itemActivated, this, &frmFolder::dirList_Activated);
    connect(cmdOk, &QPushButton::clicked, this, &frmFolder::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFolder::cmdCancel_Click);
}

bool frmFolder::setDirectory(const QString& folder) {
    Failure ignored;
    return showFolder(folder, &ignored);
}

QString frmFolder::directory() const {
    return m_current;
}

bool frmFolder::setDrive(const QString& folderText) {
    const int index = driveIndex(volumeOf(m_roots, cleanFolder(folderText)));
    if (index < 0) return false;
    if (index == drvList->currentIndex()) return true;
    m_driveFailed = false;
    drvList->setCurrentIndex(index);  // runs drvList_Change
    return !m_driveFailed;
}

void frmFolder::openAt(const QPoint& topLeft, const QString& boxText) {
    refreshDrives();
    move(topLeft);
    if (setDirectory(boxText)) setDrive(boxText);
    show();
    raise();
    activateWindow();
}

void frmFolder::drvList_Change(int index) {
    if (index < 0) return;
    const QString root = m_roots.value(index);
    // Already showing a folder on that drive (Open has just pointed the list
    // there): stay, rather than jump away from the folder of the box.
    if (volumeOf(m_roots, m_current) == root) return;

    Failure failure;
    const QString last = m_lastUsed.value(root, root);
    if (showFolder(last, &failure) || (last != root && showFolder(root, &failure))) return;

    m_driveFailed = true;
    reportFailure(failure);
    // Back to the drive the directory list still shows; that change succeeds.
    const int back = driveIndex(volumeOf(m_roots, m_current));
    {
        const QSignalBlocker quiet(drvList);
        drvList->setCurrentIndex(back);
    }
    drvList_Change(back);
}

void frmFolder::dirList_Activated(QTreeWidgetItem* item) {
    if (!item) return;
    Failure failure;
    if (!showFolder(item->data(0, kPathRole).toString(), &failure)) reportFailure(failure);
}

void frmFolder::cmdOk_Click() {
    // As the user reads it and the settings file holds it ("C:\写真" on Windows).
    emit folderChosen(nativePath(folderSetting(directory())));
    hide();
}

void frmFolder::cmdCancel_Click() {
    hide();
}

void frmFolder::keyPressEvent(QKeyEvent* event) {
    // Escape is Cancel, wherever the focus is in the dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmFolder::showFolder(const QString& folder, Failure* failure) {
    const QString clean = cleanFolder(folder);
    if (clean.isEmpty()) {
        *failure = Failure{};
        return false;
    }
    Result<QStringList> names = subfolders(m_fs, clean);
    if (!names) {
        *failure = names.failure();
        return false;
    }
    m_current = clean;
    m_lastUsed.insert(volumeOf(m_roots, clean), clean);
    fillDirList(names.value());
    return true;
}

void frmFolder::fillDirList(const QStringList& names) {
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QString root = volumeOf(m_roots, m_current);

    dirList->clear();
    QTreeWidgetItem* parent = nullptr;
    for (const QString& path : folderChain(root, m_current)) {
        const QString label = parent ? fileNameOf(path) : path;
        auto* item =
            parent ? new QTreeWidgetItem(parent, {label}) : new QTreeWidgetItem(dirList, {label});
        item->setIcon(0, open);
        item->setData(0, kPathRole, path);
        parent = item;
    }
    // Added in one go: a folder may hold tens of thousands of subfolders.
    QList<QTreeWidgetItem*> children;
    children.reserve(names.size());
    for (const QString& name : names) {
        auto* item = new QTreeWidgetItem(QStringList{name});
        item->setIcon(0, closed);
        item->setData(0, kPathRole, joinPath(m_current, name));
        children << item;
    }
    parent->addChildren(children);
    dirList->expandAll();
    dirList->setCurrentItem(parent);
    dirList->scrollToItem(parent);
}

void frmFolder::refreshDrives() {
    const QStringList roots = driveRoots(m_fs.volumes());
    if (roots == m_roots) return;
    const QSignalBlocker quiet(drvList);
    m_roots = roots;
    drvList->clear();
    drvList->addItems(m_roots);
    drvList->setCurrentIndex(driveIndex(volumeOf(m_roots, m_current)));
}

int frmFolder::driveIndex(const QString& root) const {
    return root.isEmpty() ? -1 : int(m_roots.indexOf(root));
}

void frmFolder::reportFailure(const Failure& failure) {
    m_box.show(QString::number(failure.code) + failure.description, Buttons::Ok);
}

}  // namespace quillo
