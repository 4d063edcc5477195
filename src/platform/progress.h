#pragma once
// What a long command shows while it runs, implemented by the main window.
// The commands never yield to the event loop; each call repaints at once.

#include <QString>

namespace quillo {

enum class CommandButton { Refer, Select, Delete, Rename };

class Progress {
  public:
    virtual ~Progress() = default;
    virtual void BlinkStep() = 0;                      // one blink step (throttled)
    virtual void count(const QString& caption) = 0;    // lblCount, repainted now
    virtual void message(const QString& caption) = 0;  // lblMsg caption, repainted now
    virtual void messageBlack() = 0;                   // lblMsg fore colour 0
    virtual void number(const QString& text) = 0;      // txtNumber, repainted now
    virtual void setEnabled(CommandButton button, bool enabled) = 0;
    virtual void ShowBusy() = 0;        // start the list fill
    virtual void SaveSettings() = 0;    // write the settings file
    virtual void cmdClear_Click() = 0;  // the clear operation
};

}  // namespace quillo
