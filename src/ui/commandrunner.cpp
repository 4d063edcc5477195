#include "ui/commandrunner.h"

#include <QEventLoop>
#include <QThread>
#include <memory>

namespace quillo {

namespace {
constexpr int kFlushInterval = 15;  // milliseconds
}

CommandRunner::CommandRunner(CommandView& view, MessageBox& box, QObject* parent)
    : QObject(parent), m_view(view), m_box(box) {
    m_flushTimer.setInterval(kFlushInterval);
    connect(&m_flushTimer, &QTimer::timeout, this, &CommandRunner::flush);
}

CommandOutcome CommandRunner::run(const Work& work) {
    m_running = true;
    m_stop = false;
    m_asking = false;
    CommandOutcome outcome;
    std::unique_ptr<QThread> worker(
        QThread::create([&] { outcome = work(static_cast<Progress&>(*this), *this); }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    m_flushTimer.start();
    worker->start();
    loop.exec();
    worker->wait();
    m_flushTimer.stop();
    flush();
    m_running = false;
    return outcome;
}

bool CommandRunner::askStop() {
    if (!m_running || m_stop) return m_stop;
    m_asking = true;
    const bool stop =
        m_box.show(QStringLiteral("処理を中止しますか？"), Buttons::YesNo) == Answer::Yes;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = m_stop || stop;
        m_asking = false;
    }
    m_answered.notify_all();
    return stop;
}

void CommandRunner::BlinkStep() {
    m_blinked.store(true, std::memory_order_relaxed);
}

void CommandRunner::count(const QString& caption) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_count = caption;
}

void CommandRunner::message(const QString& caption) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_message = caption;
}

void CommandRunner::number(const QString& text) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_number = text;
}

bool CommandRunner::stopRequested() {
    if (m_asking.load(std::memory_order_acquire)) {
        // The user is deciding: nothing more is done until the answer is in.
        std::unique_lock<std::mutex> lock(m_mutex);
        m_answered.wait(lock, [this] { return !m_asking.load(); });
    }
    return m_stop.load(std::memory_order_acquire);
}

Answer CommandRunner::show(const QString& text, Buttons buttons) {
    Answer answer = Answer::No;
    QMetaObject::invokeMethod(
        this,
        [&] {
            flush();  // the labels show where the command stands when it asks
            answer = m_box.show(text, buttons);
        },
        Qt::BlockingQueuedConnection);
    return answer;
}

void CommandRunner::flush() {
    std::optional<QString> count, message, number;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        count.swap(m_count);
        message.swap(m_message);
        number.swap(m_number);
    }
    if (message) m_view.message(*message);
    if (count) m_view.count(*count);
    if (number) m_view.number(*number);
    if (m_blinked.exchange(false, std::memory_order_relaxed)) m_view.BlinkStep();
}

}  // namespace quillo
