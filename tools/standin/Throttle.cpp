#include "standin/Throttle.h"

#include <QMutexLocker>
#include <QtDebug>

namespace albivex::standin {

void Throttle::set(int count, int seconds)
{
    QMutexLocker lock(&m_mutex);
    m_count = qMax(0, count);
    m_seconds = qMax(0, seconds);
    m_served = 0;
    m_busyUntil = -1;
}

bool Throttle::isSet() const
{
    QMutexLocker lock(&m_mutex);
    return m_count > 0;
}

bool Throttle::take()
{
    QMutexLocker lock(&m_mutex);
    if (m_count == 0)
        return true;
    const qint64 now = m_clock.elapsed();
    if (now < m_busyUntil)
        return false;
    if (m_served >= m_count) {
        if (m_busyUntil < 0) {
            // The window's COUNT is spent: the service turns everyone away for a while.
            m_busyUntil = now + qint64(m_seconds) * 1000;
            m_windows.append({now, m_busyUntil});
            qInfo("throttle: %d requests served, busy for %d s (window %lld)", m_count, m_seconds,
                  static_cast<long long>(m_windows.size()));
            if (m_seconds > 0)
                return false;
        }
        m_served = 0;
        m_busyUntil = -1;
    }
    ++m_served;
    return true;
}

bool Throttle::busy() const
{
    QMutexLocker lock(&m_mutex);
    return m_clock.elapsed() < m_busyUntil;
}

int Throttle::secondsLeft() const
{
    QMutexLocker lock(&m_mutex);
    const qint64 left = m_busyUntil - m_clock.elapsed();
    return int(qMax<qint64>(1, (left + 999) / 1000));
}

QList<QPair<qint64, qint64>> Throttle::windows() const
{
    QMutexLocker lock(&m_mutex);
    return m_windows;
}

} // namespace albivex::standin
