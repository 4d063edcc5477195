// The list display and the busy feedback: the sliced grid fill, the blinking
// message label, the clear operation, and what long commands show. The event
// loop runs while a command works, so setting a caption is enough to show it.

#include <QPalette>

#include "ui/filelistmodel.h"
#include "ui/mainwindow.h"

namespace quillo {

namespace {
const QString kEditing = QStringLiteral("画面を編集しています、しばらくお待ち下さい");
constexpr int kRowsPerTick = 15;
constexpr int kFillInterval = 1;      // milliseconds
constexpr double kBlinkPeriod = 0.2;  // seconds between colour changes
constexpr qint32 kBlinkStep = 0x222222;
}  // namespace

void frmQuillo::setMessageColor(qint32 rgb) {
    QPalette palette = m_c.lblMsg->palette();
    palette.setColor(QPalette::WindowText, QColor(QRgb(quint32(rgb))));
    m_c.lblMsg->setPalette(palette);
}

void frmQuillo::BlinkStep() {
    if (m_clock.seconds() < BlinkDue) return;
    BlinkColor += kBlinkStep;
    if (BlinkColor > 0xFFFFFF) BlinkColor = kBlinkStep;
    BlinkDue = m_clock.seconds() + kBlinkPeriod;
    setMessageColor(BlinkColor);
}

void frmQuillo::count(const QString& caption) {
    m_c.lblCount->setText(caption);
}

void frmQuillo::message(const QString& caption) {
    m_c.lblMsg->setText(caption);
}

void frmQuillo::messageBlack() {
    setMessageColor(0);
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
    }
}

void frmQuillo::ShowBusy() {
    m_c.lblMsg->setText(kEditing);
    m_model->setEntryRows(Files.FileCount());
    // A fill under way starts again from row 1: the table may have been re-sorted.
    FillCursor = 0;
    m_c.timEdit->start(kFillInterval);
}

void frmQuillo::timEdit_Timer() {
    // The event loop runs during a command, whose thread changes the table:
    // the fill waits for the command to end.
    if (Files.inUse()) return;
    for (int k = 0; k < kRowsPerTick; ++k) {
        ++FillCursor;
        if (FillCursor > Files.FileCount()) {
            setMessageColor(0);
            FillCursor = 0;
            m_c.timEdit->stop();
            return;
        }
        BlinkStep();
        const qint32 r = FillCursor;
        const FileEntry& e = Files.entries[size_t(r - 1)];
        ListRow row;
        row.dir = e.dir;
        row.name = e.name;
        row.cells = 3;
        const Result<FileInfo> info = m_fs.info(e.path());
        const bool complete = info.ok() && r <= m_model->rowCount();
        if (complete) {
            row.mtimeNs = info->mtimeNs;
            row.size = e.size;
            row.kind = kindLabel(e.kind);
            row.cells = FileListModel::kColumns;
        }
        m_model->setRow(r, std::move(row));
        // A row that cannot be completed (its file has gone) ends this tick;
        // the next tick goes on with the row after it.
        if (!complete) return;
    }
}

void frmQuillo::cmdClear_Click() {
    // The table a command works on is never emptied under it.
    if (!Files.clear()) return;
    m_c.timEdit->stop();
    FillCursor = 0;
    m_model->clearRows();
    m_c.lblCount->setText(QString());
    m_c.lblMsg->setText(QString());
    m_c.cmdRefer->setEnabled(true);
    m_c.cmdDelete->setEnabled(true);
    m_c.cmdSelect->setEnabled(true);
}

}  // namespace quillo
