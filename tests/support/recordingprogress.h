#pragma once
// A Progress that records what a command showed, in order.

#include <QString>
#include <QStringList>

#include "platform/progress.h"

namespace quillo::test {

class RecordingProgress : public Progress {
  public:
    QStringList events;  // "message:…", "count:…", "number:…", "black", "save", "clear", …
    QString lastMessage, lastCount, lastNumber;
    int blinks = 0;
    int saves = 0;
    int clears = 0;
    bool enabled[4] = {true, true, true, true};
    bool recordCounts = true;  // off for large runs

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
};

}  // namespace quillo::test
