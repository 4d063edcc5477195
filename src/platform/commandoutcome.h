#pragma once
// How a long command ended, and the one way the window applies it: the logic
// reports, the window clears, saves, shows and re-enables.

#include <QString>
#include <optional>

#include "platform/messagebox.h"
#include "platform/progress.h"

namespace quillo {

enum class CommandEnd {
    Nothing,    // refused or nothing to do: the window stays as it was
    Completed,  // ran to its end
    Aborted,    // the user answered No to a failure question
    Stopped,    // the user asked to stop the run
};

struct CommandOutcome {
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
};

// What the window shows while a command runs and when it ends.
class CommandView {
  public:
    virtual ~CommandView() = default;
    virtual void BlinkStep() = 0;                      // one blink step (throttled)
    virtual void count(const QString& caption) = 0;    // lblCount
    virtual void message(const QString& caption) = 0;  // lblMsg caption
    virtual void number(const QString& text) = 0;      // txtNumber
    virtual void messageBlack() = 0;                   // lblMsg fore colour 0
    virtual void setEnabled(CommandButton button, bool enabled) = 0;
    virtual void ShowBusy() = 0;        // start the list fill
    virtual void SaveSettings() = 0;    // write the settings file
    virtual void cmdClear_Click() = 0;  // the clear operation
};

// The closing text that counts what was done: "N件、<verb>しました", followed by
// "（F件は<verb>できませんでした、K件は参照ファイルのため残しました）" for the
// files that failed and those kept, each part only when it counts any; after a
// No to a failure question "強制終了しました（…）" and after a stop
// "中止しました（…）" around all of these parts.
QString countedMessage(const CommandOutcome& outcome, const QString& verb);

// Applies an outcome of the command started by button, in the order the
// window shows it: save, clear, list, message, count, button, notice.
void applyOutcome(const CommandOutcome& outcome, CommandButton button, CommandView& view,
                  MessageBox& box);

}  // namespace quillo
