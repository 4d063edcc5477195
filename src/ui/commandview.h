#pragma once
// The window's side of a command: what it shows while the command runs and
// the one way it applies the outcome. The logic never sees these steps.

#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"

namespace quillo {

// The button a command was started by; Undo has none.
enum class CommandButton { Refer, Select, Delete, Rename, Undo };

class CommandView : public Report {
  public:
    virtual void messageBlack() = 0;  // lblMsg fore colour 0
    virtual void setEnabled(CommandButton button, bool enabled) = 0;
    virtual void ShowBusy() = 0;        // start the list fill
    virtual void SaveSettings() = 0;    // write the settings file
    virtual void cmdClear_Click() = 0;  // the clear operation
};

// Applies an outcome of the command started by button, in the order the
// window shows it: save, clear, list, message, count, button, notice.
void applyOutcome(const CommandOutcome& outcome, CommandButton button, CommandView& view,
                  MessageBox& box);

}  // namespace quillo
