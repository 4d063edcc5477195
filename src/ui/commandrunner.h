#pragma once
// Runs a long command on a worker thread while the window's event loop goes
// on, so the window redraws, moves and answers while the command works. The
// click that starts a command returns at once; the outcome comes back by the
// finished signal. Progress reaches the window through a short timer; a
// question blocks the worker until the user has answered it on the window's
// thread, and never opens while another box of the command is open.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"

class QThread;

namespace quillo {

class CommandRunner : public QObject, private Progress, private MessageBox {
    Q_OBJECT
  public:
    using Work = std::function<CommandOutcome(Progress& progress, MessageBox& box)>;

    // view shows the progress; box asks the user, on the window's thread.
    CommandRunner(Report& view, MessageBox& box, QObject* parent = nullptr);
    ~CommandRunner() override;

    // Starts work and returns at once; finished() follows when it has ended.
    void start(Work work);
    // The one place that knows whether a command is running.
    bool running() const { return m_worker != nullptr; }

    // Asks whether to stop the running command: "処理を中止しますか？". The
    // command waits at its next stop point until the answer is in. True for
    // はい; false at once while another of the command's boxes is open.
    bool askStop();

  signals:
    void finished(const CommandOutcome& outcome);

  private:
    // Progress and MessageBox as the worker sees them.
    void BlinkStep() override;
    void count(const QString& caption) override;
    void message(const QString& caption) override;
    void number(const QString& text) override;
    bool stopRequested() override;
    Answer show(const QString& text, Buttons buttons) override;

    // Shows what the worker reported since the last call.
    void flush();
    // Asks the worker's question, unless a box is open already: then it is
    // asked when that box has closed.
    void askQuestion();
    void ended();

    struct Question {
        QString text;
        Buttons buttons;
        std::optional<Answer> answer;
    };

    Report& m_view;
    MessageBox& m_box;
    QTimer m_flushTimer;
    std::unique_ptr<QThread> m_worker;
    CommandOutcome m_outcome;
    QElapsedTimer m_clock;   // since the command started
    bool m_boxOpen = false;  // on the window's thread

    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::optional<QString> m_count, m_message, m_number;  // not yet shown
    Question* m_question = nullptr;                       // the worker's, while it waits
    std::atomic<bool> m_blinked{false};
    std::atomic<bool> m_asking{false};
    std::atomic<bool> m_stop{false};
};

}  // namespace quillo
