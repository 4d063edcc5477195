#include "platform/commandoutcome.h"

namespace quillo {

QString countedMessage(const CommandOutcome& outcome, const QString& verb) {
    const QString done =
        QString::number(outcome.done) + QStringLiteral("件、") + verb + QStringLiteral("しました");
    if (outcome.end == CommandEnd::Aborted)
        return QStringLiteral("強制終了しました（") + done + QStringLiteral("）");
    if (outcome.end == CommandEnd::Stopped)
        return QStringLiteral("中止しました（") + done + QStringLiteral("）");
    if (outcome.failed == 0) return done;
    return done + QStringLiteral("（") + QString::number(outcome.failed) + QStringLiteral("件は") +
           verb + QStringLiteral("できませんでした）");
}

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
