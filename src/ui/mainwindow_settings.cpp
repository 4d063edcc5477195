// The controls as the settings: what start-up writes into them and what
// SaveSettings reads from them.

#include "ui/folderchooser.h"
#include "ui/mainwindow.h"
#include "ui/twips.h"

namespace quillo {

namespace {
QLineEdit* folderBox(const MainControls& c, SettingsFolder folder) {
    switch (folder) {
        case SettingsFolder::Refer:
            return c.txtRefer;
        case SettingsFolder::Select:
            return c.txtSelect;
        case SettingsFolder::Move:
            return c.txtMove;
        case SettingsFolder::Delete:
            break;
    }
    return c.txtDelete;
}

OptionCheckBox* checkBox(const MainControls& c, SettingsCheck check) {
    switch (check) {
        case SettingsCheck::JpegJpg:
            return c.chkJpegJpg;
        case SettingsCheck::Refer:
            return c.chkRefer;
        case SettingsCheck::Select:
            return c.chkSelect;
        case SettingsCheck::Move:
            return c.chkMove;
        case SettingsCheck::Delete:
            break;
    }
    return c.chkDelete;
}
}  // namespace

void frmQuillo::setFolderText(SettingsFolder folder, const QString& text) {
    folderBox(m_c, folder)->setText(text);
}

bool frmQuillo::pointChooser(const QString& folder) {
    frmFolder* f = chooser();
    return f->setDirectory(folder) && f->setDrive(folder);
}

QString frmQuillo::chooserFolder() {
    return chooser()->directory();
}

void frmQuillo::setName(const QString& text) {
    m_c.txtName->setText(text);
}

void frmQuillo::setNumber(const QString& text, qint16 digitCount) {
    m_c.txtNumber->setText(text);
    // The box holds at most 8 characters; a longer stored text is cut, and the
    // width follows what the box shows.
    DigitCount = m_c.txtNumber->text() == text ? digitCount : qint16(m_c.txtNumber->text().size());
}

void frmQuillo::appendExtent(const QString& item) {
    m_c.cmbExtent->addItem(item);
    m_c.cmbExtent->setEditText(m_c.cmbExtent->itemText(0));
}

void frmQuillo::setExtentText(const QString& text) {
    m_c.cmbExtent->setEditText(text);
}

void frmQuillo::setCheck(SettingsCheck check, CheckValue value) {
    checkBox(m_c, check)->setValue(value);
}

void frmQuillo::setTop(int twips) {
    m_loadedTop = twips;
}

void frmQuillo::setLeft(int twips) {
    m_loadedLeft = twips;
}

SettingsValues frmQuillo::settingsValues() const {
    SettingsValues v;
    for (SettingsCheck check : kSettingsChecks) v.check(check) = checkBox(m_c, check)->value();
    for (SettingsFolder folder : kSettingsFolders)
        v.folder(folder) = folderBox(m_c, folder)->text();
    v.name = m_c.txtName->text();
    v.number = m_c.txtNumber->text();
    for (int i = 0; i < m_c.cmbExtent->count(); ++i) v.extents << m_c.cmbExtent->itemText(i);
    v.top = tw(pos().y());
    v.left = tw(pos().x());
    return v;
}

void frmQuillo::SaveSettings() {
    // A file that cannot be written is left as it was; nothing is reported.
    writeSettingsFile(m_settingsPath, settingsValues());
}

}  // namespace quillo
