#pragma once
// What a long command reports while it runs, and whether it should stop. The
// logic calls these once per item, so every call must be cheap.

#include <QString>

namespace quillo {

// What the logic shows: the window's labels, the number box and the blink.
class Report {
  public:
    virtual ~Report() = default;
    virtual void BlinkStep() = 0;                      // one blink step (throttled)
    virtual void count(const QString& caption) = 0;    // lblCount
    virtual void message(const QString& caption) = 0;  // lblMsg caption
    virtual void number(const QString& text) = 0;      // txtNumber
};

class Progress : public Report {
  public:
    // Whether the user asked the command to stop. Asked only between two file
    // operations, never inside one; may wait while the user is being asked.
    virtual bool stopRequested() = 0;
};

}  // namespace quillo
