#pragma once
// Runs a long command on a worker thread while the window's event loop goes
// on, so the window redraws, moves and answers while the command works.
// Progress reaches the window through a short timer; a question blocks the
// worker until the user has answered it on the window's thread.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "core/messagebox.h"
#include "ui/commandview.h"

namespace quillo {

class CommandRunner : public QObject, private Progress, private MessageBox {
    Q_OBJECT
  public:
    using Work = std::function<CommandOutcome(Progress& progress, MessageBox& box)>;

    // view shows the progress; box asks the user, on the window's thread.
    CommandRunner(CommandView& view, MessageBox& box, QObject* parent = nullptr);

    // Runs work and returns its outcome once it has ended; events are handled
    // meanwhile.
    CommandOutcome run(const Work& work);
    bool running() const { return m_running; }

    // Asks whether to stop the running command: "処理を中止しますか？". The
    // command waits at its next stop point until the answer is in. True for はい.
    bool askStop();

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

    CommandView& m_view;
    MessageBox& m_box;
    QTimer m_flushTimer;
    bool m_running = false;

    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::optional<QString> m_count, m_message, m_number;  // not yet shown
    std::atomic<bool> m_blinked{false};
    std::atomic<bool> m_asking{false};
    std::atomic<bool> m_stop{false};
};

}  // namespace quillo
