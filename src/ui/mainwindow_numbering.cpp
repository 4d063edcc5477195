// The numbering inputs and the rename command.

#include "numbering/namecheck.h"
#include "numbering/number.h"
#include "ui/mainwindow.h"

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
    if (m_shown && m_shown->stage == ShownPlan::Stage::Done) dropShownPlan();
    runCommand(CommandButton::Rename, [this, request](Progress& p, MessageBox& b) {
        RenameSearch search = m_context.planRenames(request, Files, p, b);
        if (search.outcome.end == CommandEnd::Completed && !search.plan.empty())
            m_foundRenames = std::move(search.plan);
        return search.outcome;
    });
}

}  // namespace quillo
