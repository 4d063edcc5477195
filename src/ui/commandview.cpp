#include "ui/commandview.h"

namespace quillo {

void applyOutcome(const CommandOutcome& outcome, CommandButton button, CommandView& view,
                  MessageBox& box) {
    if (outcome.saveSettings) view.SaveSettings();
    if (outcome.clearList) view.cmdClear_Click();
    if (outcome.showList) view.ShowBusy();
    if (outcome.end != CommandEnd::Nothing) {
        view.messageBlack();
        view.message(outcome.message);
    }
    if (outcome.count) view.count(*outcome.count);
    view.setEnabled(button, outcome.enableButton);
    if (outcome.skipped > 0) {
        box.show(QStringLiteral("読み込めなかったファイル・フォルダーが") +
                     QString::number(outcome.skipped) + QStringLiteral("件有りました"),
                 Buttons::Ok);
    }
}

}  // namespace quillo
