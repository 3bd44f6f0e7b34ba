#include "GapMeter.h"

#include "BenchSupport.h"
#include "TimedApplication.h"

#include <QListWidget>

#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace albivex::bench {

GapMeter::GapMeter(QListWidget *log) : m_log(log)
{
    m_ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_ticks, &QTimer::timeout, [this] { tick(); });
}

void GapMeter::start()
{
    m_longestGapMs = m_longestOwnGapMs = 0;
    m_ticks.start(10);
    m_sinceTick.start();
    m_waitedBefore = RunQueueWaitMs();
    m_stealBefore = HostStealMs();
    m_clock.start();
}

double GapMeter::stolenMs() const
{
    return HostStealMs() - m_stealBefore;
}

void GapMeter::tick()
{
    const double gapMs = m_sinceTick.nsecsElapsed() / 1e6;
    m_sinceTick.restart();
    const double waited = RunQueueWaitMs();
    m_longestGapMs = qMax(m_longestGapMs, gapMs);
    static const bool trace = qEnvironmentVariableIsSet("BENCH_RSS_TRACE");
    if (trace) {
        const qint64 kib = StatusKib("VmRSS:");
        if (qAbs(kib - m_tracedKib) > 4096) {
            m_tracedKib = kib;
#ifdef __GLIBC__
            const struct mallinfo2 heap = mallinfo2();
#else
            const struct
            {
                size_t uordblks = 0, arena = 0, hblkhd = 0;
            } heap;
#endif
            std::printf("TRACE %.0f ms rss %.1f MB (heap %.1f MB in use of %.1f, %.1f MB mapped), %s\n",
                        m_clock.nsecsElapsed() / 1e6, kib / 1024.0, heap.uordblks / 1048576.0,
                        heap.arena / 1048576.0, heap.hblkhd / 1048576.0,
                        qPrintable(m_log->count() ? m_log->item(m_log->count() - 1)->text() : QString()));
        }
    }
    const double ownGapMs = gapMs - (waited - m_waitedBefore);
    m_longestOwnGapMs = qMax(m_longestOwnGapMs, ownGapMs);
    static const bool gaps = qEnvironmentVariableIsSet("BENCH_GAPS");
    if (gaps) {
        const QStringList deliveries = TimedApp()->takeDeliveries();
        if (ownGapMs > 14) {
            std::printf("GAP %.1f ms (%.1f as the wall clock sees it, %.1f on the processor) at %.0f ms:\n",
                        ownGapMs, gapMs, ThreadCpuMs() - m_cpuBefore, m_clock.nsecsElapsed() / 1e6);
            for (const QString &line : deliveries)
                std::printf("  %s\n", qPrintable(line));
        }
    }
    m_waitedBefore = waited;
    if (gaps)
        m_cpuBefore = ThreadCpuMs();
}

} // namespace albivex::bench
