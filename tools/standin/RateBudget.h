#pragma once

#include <QElapsedTimer>
#include <QMutex>

namespace albivex::standin {

// A budget of requests per fixed one-second window; the windows start at whole seconds
// of a monotonic clock that starts with the budget. Thread-safe.
class RateBudget
{
public:
    RateBudget() { m_clock.start(); }

    // Requests allowed per window; 0 (the default) allows every one.
    void setLimit(int perWindow);
    int limit() const;
    // Uses one request of the current window's budget; false, and nothing used, when
    // it is spent.
    bool take();
    // Index of the current window (seconds since the budget started) and how far into
    // it the clock is, for tests that must start at a window's beginning.
    qint64 window() const { return m_clock.elapsed() / 1000; }
    int msIntoWindow() const { return int(m_clock.elapsed() % 1000); }

private:
    mutable QMutex m_mutex;
    QElapsedTimer m_clock;
    int m_limit = 0;
    qint64 m_window = -1;
    int m_used = 0;
};

} // namespace albivex::standin
