#pragma once
// What a long command shows while it runs, and whether it should stop. The
// window implements it; the logic calls it once per item, so every call must
// be cheap.

#include <QString>

namespace quillo {

enum class CommandButton { Refer, Select, Delete, Rename };

class Progress {
  public:
    virtual ~Progress() = default;
    virtual void BlinkStep() = 0;                      // one blink step (throttled)
    virtual void count(const QString& caption) = 0;    // lblCount
    virtual void message(const QString& caption) = 0;  // lblMsg caption
    virtual void number(const QString& text) = 0;      // txtNumber
    // Whether the user asked the command to stop. Asked only between two file
    // operations, never inside one; may wait while the user is being asked.
    virtual bool stopRequested() = 0;
};

}  // namespace quillo
