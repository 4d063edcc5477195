#pragma once
// frmFolder: the drive-and-directory dialog that sets the four folder boxes.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "core/messagebox.h"
#include "core/result.h"
#include "platform/filesystem.h"

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillo {

class frmFolder : public QWidget {
    Q_OBJECT
  public:
    frmFolder(FileSystem& fs, MessageBox& box, QWidget* parent = nullptr);

    // dirList: points the directory list at folder; false when it cannot be shown.
    bool setDirectory(const QString& folder);
    // The directory list's current folder, as a full path.
    QString directory() const;
    // drvList: selects the volume of folderText (a drive change when it differs);
    // false when that drive cannot be read.
    bool setDrive(const QString& folderText);

    // Open: placed at topLeft, pointed at the box's text (failures skip the
    // rest silently), shown modeless.
    void openAt(const QPoint& topLeft, const QString& boxText);

  signals:
    // OK: the delivered folder ("/" for the root).
    void folderChosen(const QString& folder);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private slots:
    void drvList_Change(int index);
    void dirList_Activated(QTreeWidgetItem* item);
    void cmdOk_Click();
    void cmdCancel_Click();

  private:
    bool showFolder(const QString& folder, Failure* failure);
    void fillDirList(const QStringList& names);
    void refreshDrives();
    int driveIndex(const QString& root) const;
    void reportFailure(const Failure& failure);

    FileSystem& m_fs;
    MessageBox& m_box;
    QComboBox* drvList;
    QTreeWidget* dirList;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    QStringList m_roots;                 // what drvList offers, in its order
    QString m_current;                   // dirList's current folder
    QHash<QString, QString> m_lastUsed;  // volume root -> last folder shown on it
    bool m_driveFailed = false;          // set by a drive change that could not list
};

}  // namespace quillo
