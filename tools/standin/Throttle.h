#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMutex>

namespace albivex::standin {

// The service's throttle after sustained use: after every `count` requests served,
// every request is turned away for `seconds`; then the next window of `count` begins.
// Requests turned away (by the throttle or the rate budget) do not count. Each throttle
// window is logged (qInfo) and kept for tests. Thread-safe; off until set.
class Throttle
{
public:
    Throttle() { m_clock.start(); }

    void set(int count, int seconds);
    bool isSet() const;
    // Counts one request to be served; false, and nothing counted, while throttled.
    bool take();
    // Whether a throttle window is running now.
    bool busy() const;
    // Whole seconds left of the current throttle window (at least 1), for Retry-After.
    int secondsLeft() const;
    // The throttle windows so far, as [start, end) in ms of the throttle's clock.
    QList<QPair<qint64, qint64>> windows() const;

private:
    mutable QMutex m_mutex;
    QElapsedTimer m_clock;
    int m_count = 0;
    int m_seconds = 0;
    int m_served = 0;
    qint64 m_busyUntil = -1;
    QList<QPair<qint64, qint64>> m_windows;
};

} // namespace albivex::standin
