#pragma once
// How a long command ended: the logic returns it, the window applies it.

#include <QString>
#include <QStringList>
#include <optional>

namespace quillo {

enum class CommandEnd {
    Nothing,    // refused or nothing to do: the window stays as it was
    Completed,  // ran to its end
    Aborted,    // the user answered No to a failure question
    Stopped,    // the user asked to stop the run
};

struct [[nodiscard]] CommandOutcome {
    CommandEnd end = CommandEnd::Nothing;
    QString message;               // lblMsg, in black; unused with Nothing
    std::optional<QString> count;  // lblCount after the list is shown
    bool saveSettings = false;
    bool clearList = false;
    bool showList = false;     // start the list fill
    bool enableButton = true;  // the command's own button usable again
    int skipped = 0;           // entries a collection could not read
    qint32 done = 0;           // files collected, removed or renamed
    qint32 failed = 0;         // files that could not be removed or renamed
    qint32 kept = 0;           // targets left alone because they are reference files
    qint32 changed = 0;        // files left alone because they changed since the plan
};

// The closing text that counts what was done: "N件、<verb>しました", followed by
// "（F件は<verb>できませんでした、K件は参照ファイルのため残しました、C件は変更
// されていたため残しました）" for the files that failed, those kept and those
// changed since the plan, each part only when it counts any; after a No to a
// failure question "強制終了しました（…）" and after a stop "中止しました（…）"
// around all of these parts.
QString countedMessage(const CommandOutcome& outcome, const QString& verb);
// The same with the two phrases given whole: "N件、<doneText>",
// "F件は<failedText>"; more parts, given whole, follow the first.
QString countedMessage(const CommandOutcome& outcome, const QString& doneText,
                       const QString& failedText, const QStringList& more = {});

}  // namespace quillo
