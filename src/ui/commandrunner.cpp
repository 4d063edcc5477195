#include "ui/commandrunner.h"

#include <QLoggingCategory>
#include <QThread>

namespace quillo {

namespace {
constexpr int kFlushInterval = 15;  // milliseconds
// How long each command took, for measuring the window as a user meets it:
// QT_LOGGING_RULES="quillo.timing.info=true".
Q_LOGGING_CATEGORY(lcTiming, "quillo.timing", QtWarningMsg)
}  // namespace

CommandRunner::CommandRunner(Report& view, MessageBox& box, QObject* parent)
    : QObject(parent), m_view(view), m_box(box) {
    m_flushTimer.setInterval(kFlushInterval);
    connect(&m_flushTimer, &QTimer::timeout, this, &CommandRunner::flush);
}

CommandRunner::~CommandRunner() {
    if (m_worker) m_worker->wait();
}

void CommandRunner::start(Work work) {
    if (running()) return;
    m_stop = false;
    m_asking = false;
    m_worker.reset(QThread::create([this, work = std::move(work)] {
        m_outcome = work(static_cast<Progress&>(*this), *this);
    }));
    // Emitted on the worker's thread, handled on the window's.
    connect(m_worker.get(), &QThread::finished, this, &CommandRunner::ended, Qt::QueuedConnection);
    m_flushTimer.start();
    m_clock.start();
    m_worker->start();
}

void CommandRunner::ended() {
    m_worker->wait();
    m_worker.reset();
    m_flushTimer.stop();
    flush();
    const CommandOutcome outcome = std::move(m_outcome);
    m_outcome = CommandOutcome();
    const qint64 ran = m_clock.elapsed();
    emit finished(outcome);
    qCInfo(lcTiming, "command ran %lld ms, shown after %lld ms", ran, qint64(m_clock.elapsed()));
}

bool CommandRunner::askStop() {
    if (!running() || m_stop) return m_stop;
    if (m_boxOpen) return false;
    m_asking = true;
    m_boxOpen = true;
    const bool stop =
        m_box.show(QStringLiteral("処理を中止しますか？"), Buttons::YesNo) == Answer::Yes;
    m_boxOpen = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = m_stop || stop;
        m_asking = false;
    }
    m_answered.notify_all();
    askQuestion();  // one that came while the user decided
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
    Question question{text, buttons, std::nullopt};
    std::unique_lock<std::mutex> lock(m_mutex);
    m_question = &question;
    QMetaObject::invokeMethod(this, &CommandRunner::askQuestion, Qt::QueuedConnection);
    m_answered.wait(lock, [&] { return question.answer.has_value(); });
    m_question = nullptr;
    return *question.answer;
}

void CommandRunner::askQuestion() {
    if (m_boxOpen) return;
    Question* question = nullptr;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_question || m_question->answer) return;
        question = m_question;
    }
    flush();  // the labels show where the command stands when it asks
    m_boxOpen = true;
    const Answer answer = m_box.show(question->text, question->buttons);
    m_boxOpen = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        question->answer = answer;
    }
    m_answered.notify_all();
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
