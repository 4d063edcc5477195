// What long commands show, the start of the list fill and the clear operation.

#include "ui/filelistmodel.h"
#include "ui/mainwindow.h"

namespace quillo {

namespace {
const QString kEditing = QStringLiteral("画面を編集しています、しばらくお待ち下さい");
}  // namespace

void frmQuillo::BlinkStep() {
    m_blink.step();
}

void frmQuillo::count(const QString& caption) {
    m_c.lblCount->setText(caption);
}

void frmQuillo::message(const QString& caption) {
    m_c.lblMsg->setText(caption);
}

void frmQuillo::messageBlack() {
    m_blink.setColor(0);
}

void frmQuillo::number(const QString& text) {
    m_c.txtNumber->setText(text);
}

void frmQuillo::setEnabled(CommandButton button, bool enabled) {
    switch (button) {
        case CommandButton::Refer:
            m_c.cmdRefer->setEnabled(enabled);
            break;
        case CommandButton::Select:
            m_c.cmdSelect->setEnabled(enabled);
            break;
        case CommandButton::Delete:
            m_c.cmdDelete->setEnabled(enabled);
            break;
        case CommandButton::Rename:
            m_c.cmdRename->setEnabled(enabled);
            break;
        case CommandButton::Undo:
            break;
    }
}

void frmQuillo::ShowBusy() {
    m_c.lblMsg->setText(kEditing);
    m_fill.start();
}

void frmQuillo::timEdit_Timer() {
    m_fill.tick();
}

void frmQuillo::cmdClear_Click() {
    // The table a command works on, or a plan under review refers to, is
    // never emptied under it.
    if (!Files.clear()) return;
    // 消去 ends the showing of the last run's plan; the run's own clear does not.
    if (m_shown && !m_keepShownOnClear) dropShownPlan();
    m_fill.stop();
    m_model->clearRows();
    m_c.lblCount->setText(QString());
    m_c.lblMsg->setText(QString());
    m_c.cmdRefer->setEnabled(true);
    m_c.cmdDelete->setEnabled(true);
    m_c.cmdSelect->setEnabled(true);
}

}  // namespace quillo
