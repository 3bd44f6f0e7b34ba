#include "standin/PreciseDelay.h"

#include <QSocketNotifier>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace albivex::standin {

PreciseDelay::PreciseDelay(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            quint64 expirations = 0;
            [[maybe_unused]] const auto got = ::read(m_fd, &expirations, sizeof expirations);
            fireDue();
        });
    }
#endif
}

PreciseDelay::~PreciseDelay()
{
#ifdef Q_OS_LINUX
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void PreciseDelay::at(Clock::time_point deadline, QObject *context, std::function<void()> callback)
{
    if (m_fd < 0) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        QTimer::singleShot(std::max(wait, std::chrono::milliseconds(0)), Qt::PreciseTimer, context,
                           std::move(callback));
        return;
    }
    const bool earliest = m_pending.empty() || deadline < m_pending.begin()->first;
    m_pending.emplace(deadline, Pending {context, std::move(callback)});
    if (earliest)
        arm();
}

void PreciseDelay::arm()
{
#ifdef Q_OS_LINUX
    itimerspec spec {};
    if (!m_pending.empty()) {
        // steady_clock is CLOCK_MONOTONIC on Linux, the clock the timer counts on.
        const auto since = m_pending.begin()->first.time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
        spec.it_value.tv_sec = seconds.count();
        spec.it_value.tv_nsec = std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count();
        // A zero value would disarm the timer instead of firing it.
        if (spec.it_value.tv_sec == 0 && spec.it_value.tv_nsec == 0)
            spec.it_value.tv_nsec = 1;
    }
    timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &spec, nullptr);
#endif
}

void PreciseDelay::fireDue()
{
    // Taken out before they run: a callback may add new deadlines.
    const auto now = Clock::now();
    std::multimap<Clock::time_point, Pending> due;
    while (!m_pending.empty() && m_pending.begin()->first <= now)
        due.insert(m_pending.extract(m_pending.begin()));
    arm();
    for (auto &[deadline, pending] : due) {
        if (pending.context)
            pending.callback();
    }
}

} // namespace albivex::standin
