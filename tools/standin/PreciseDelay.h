#pragma once

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <map>

class QSocketNotifier;

namespace albivex::standin {

// Runs callbacks after a delay kept to a few microseconds. Qt's timers wake on whole
// milliseconds and round every remaining wait up, so a server woken often (several
// clients at once) answered up to a millisecond late, each time: more than the whole
// cost of serving a picture. On Linux one timerfd, armed for the earliest deadline,
// wakes the event loop on time; elsewhere Qt's precise timers stand in.
// Lives on the thread whose event loop runs the callbacks.
class PreciseDelay : public QObject
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit PreciseDelay(QObject *parent = nullptr);
    ~PreciseDelay() override;

    // Calls `callback` at `deadline` (on the next turn of the event loop when it has
    // passed, never from within this call), unless `context` is gone by then.
    void at(Clock::time_point deadline, QObject *context, std::function<void()> callback);

private:
    struct Pending
    {
        QPointer<QObject> context;
        std::function<void()> callback;
    };

    void arm();
    void fireDue();

    std::multimap<Clock::time_point, Pending> m_pending;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace albivex::standin
