#pragma once
// frmFolder: the drive-and-directory dialog that sets the four folder boxes.

#include <QString>
#include <QWidget>

#include "platform/filesystem.h"
#include "platform/messagebox.h"

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
};

}  // namespace quillo
