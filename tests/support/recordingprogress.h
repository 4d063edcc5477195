#pragma once
// A view that records what a command showed and how its outcome was applied,
// in order.

#include <QString>
#include <QStringList>

#include "ui/commandview.h"

namespace quillo::test {

class RecordingProgress : public Progress, public CommandView {
  public:
    QStringList events;  // "message:…", "count:…", "number:…", "black", "save", "clear", …
    QString lastMessage, lastCount, lastNumber;
    int blinks = 0;
    int saves = 0;
    int clears = 0;
    bool enabled[5] = {true, true, true, true, true};  // by CommandButton
    bool recordCounts = true;                          // off for large runs
    int stopAfter = -1;  // asked this many times, the answer becomes yes; -1: never
    int stopChecks = 0;

    void BlinkStep() override { ++blinks; }
    void count(const QString& c) override {
        lastCount = c;
        if (recordCounts) events << QStringLiteral("count:") + c;
    }
    void message(const QString& m) override {
        lastMessage = m;
        events << QStringLiteral("message:") + m;
    }
    void messageBlack() override { events << QStringLiteral("black"); }
    void number(const QString& n) override {
        lastNumber = n;
        if (recordCounts) events << QStringLiteral("number:") + n;
    }
    void setEnabled(CommandButton b, bool on) override {
        enabled[int(b)] = on;
        events << QStringLiteral("enabled:%1=%2").arg(int(b)).arg(on ? 1 : 0);
    }
    bool stopRequested() override { return stopAfter >= 0 && stopChecks++ >= stopAfter; }
    void ShowBusy() override { events << QStringLiteral("busy"); }
    void SaveSettings() override {
        ++saves;
        events << QStringLiteral("save");
    }
    void cmdClear_Click() override {
        ++clears;
        lastCount.clear();
        lastMessage.clear();
        events << QStringLiteral("clear");
    }

    // Applies a command's outcome as the window does.
    void finish(const CommandOutcome& outcome, CommandButton button, MessageBox& box) {
        applyOutcome(outcome, button, *this, box);
    }
};

}  // namespace quillo::test
