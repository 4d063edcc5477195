#include "core/commandoutcome.h"

#include <QStringList>

namespace quillo {

QString countedMessage(const CommandOutcome& outcome, const QString& verb) {
    return countedMessage(outcome, verb + QStringLiteral("しました"),
                          verb + QStringLiteral("できませんでした"));
}

QString countedMessage(const CommandOutcome& outcome, const QString& doneText,
                       const QString& failedText, const QStringList& more) {
    QStringList parts{QString::number(outcome.done) + QStringLiteral("件、") + doneText};
    parts << more;
    if (outcome.failed > 0)
        parts << QString::number(outcome.failed) + QStringLiteral("件は") + failedText;
    if (outcome.kept > 0)
        parts << QString::number(outcome.kept) + QStringLiteral("件は参照ファイルのため残しました");
    if (outcome.changed > 0)
        parts << QString::number(outcome.changed) +
                     QStringLiteral("件は変更されていたため残しました");
    const QString separator = QStringLiteral("、");
    if (outcome.end == CommandEnd::Aborted)
        return QStringLiteral("強制終了しました（") + parts.join(separator) + QStringLiteral("）");
    if (outcome.end == CommandEnd::Stopped)
        return QStringLiteral("中止しました（") + parts.join(separator) + QStringLiteral("）");
    const QString done = parts.takeFirst();
    if (parts.isEmpty()) return done;
    return done + QStringLiteral("（") + parts.join(separator) + QStringLiteral("）");
}

}  // namespace quillo
