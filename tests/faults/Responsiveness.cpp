#include "Responsiveness.h"

#include <QFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

qint64 statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

qint64 Responsiveness::residentKb()
{
    return statusField("VmRSS");
}

qint64 Responsiveness::peakResidentKb()
{
    return statusField("VmHWM");
}

double Responsiveness::runQueueWaitMs()
{
    QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    return stat.readAll().split(' ').value(1).toLongLong() / 1e6;
}

bool Responsiveness::resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

void Responsiveness::start()
{
#if defined(__GLIBC__)
    // Memory an earlier case freed goes back to the system first, so that it neither
    // counts in the start nor hides this case's growth.
    malloc_trim(0);
#endif
    m_peakReset = resetPeak();
    m_startKb = residentKb();
    m_longestGap = 0;
    m_longestOwnGap = 0;
    m_peakGrowthKb = -1;
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(10);
    connect(&m_tick, &QTimer::timeout, this, &Responsiveness::tick);
    m_clock.start();
    m_last = 0;
    m_lastWait = runQueueWaitMs();
    m_tick.start();
}

void Responsiveness::tick()
{
    const qint64 now = m_clock.elapsed();
    const double wait = runQueueWaitMs();
    const qint64 gap = now - m_last;
    m_longestGap = qMax(m_longestGap, gap);
    m_longestOwnGap = qMax(m_longestOwnGap, qMax<qint64>(0, gap - qint64(wait - m_lastWait)));
    m_last = now;
    m_lastWait = wait;
}

void Responsiveness::stop()
{
    tick();
    m_tick.stop();
    m_tick.disconnect(this);
    const qint64 peak = peakResidentKb();
    if (m_peakReset && peak >= 0 && m_startKb >= 0)
        m_peakGrowthKb = qMax<qint64>(0, peak - m_startKb);
}

QString Responsiveness::summary() const
{
    return QStringLiteral("longest gap of the 10 ms timer %1 ms (%2 ms by the wall clock, waits for a busy "
                          "processor included), peak memory growth %3 MB")
        .arg(m_longestOwnGap)
        .arg(m_longestGap)
        .arg(peakGrowthMb(), 0, 'f', 1);
}
