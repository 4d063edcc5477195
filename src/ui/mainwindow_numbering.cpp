// The numbering inputs and the rename command.

#include "journal/runjournal.h"
#include "numbering/namecheck.h"
#include "numbering/number.h"
#include "numbering/renamepass.h"
#include "trash/trashcan.h"
#include "ui/mainwindow.h"
#include "undo/undocommand.h"

namespace quillo {

void frmQuillo::txtName_Change() {
    const std::optional<QString> repaired = nameCheckPass(m_c.txtName->text());
    if (!repaired) return;
    m_box.show(forbiddenNameMessage(), Buttons::Ok);
    // Setting the text is a change of its own: one character goes per pass.
    m_c.txtName->setText(*repaired);
}

void frmQuillo::txtNumber_LostFocus() {
    const NormalisedNumber n = normaliseNumber(m_c.txtNumber->text());
    DigitCount = n.DigitCount;
    m_c.txtNumber->setText(n.text);
}

void frmQuillo::cmdRename_Click() {
    RenameRequest request;
    request.name = m_c.txtName->text();
    request.number = m_c.txtNumber->text();
    request.DigitCount = DigitCount;
    request.extension = m_c.cmbExtent->currentText();
    request.chkJpegJpg = m_c.chkJpegJpg->value();
    request.chkMove = m_c.chkMove->value();
    request.moveFolder = m_c.txtMove->text();
    runCommand(CommandButton::Rename, [this, request](Progress& p, MessageBox& b) {
        const JournalFolder journals(m_fs, m_journalFolder);
        TrashCan trash(m_fs, TrashHome::fromEnvironment());
        recoverRuns(journals, trash);
        RunJournal journal(journals, JournalKind::Number, request.number);
        return runRename(request, Files, p, b, m_fs, &journal);
    });
}

}  // namespace quillo
