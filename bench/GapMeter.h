#pragma once

#include <QElapsedTimer>
#include <QTimer>

class QListWidget;

namespace albivex::bench {

// The window's responsiveness during a run: a 10 ms timer ticks on the window's thread
// from start() to stop(), and the longest gap between ticks is kept, as the wall clock
// sees it and less the time the thread was ready to run but waited for a processor that
// other programs held (the kernel's run-queue delay): on a shared machine a single wait
// of a few tens of milliseconds says nothing about the tool. With BENCH_RSS_TRACE=1 it
// prints the resident memory as it grows (and the heap's share), with the log's last
// line; with BENCH_GAPS=1 every gap over 14 ms, with the processor time the thread had
// in it and the event deliveries it was made of (TimedApplication).
class GapMeter
{
public:
    explicit GapMeter(QListWidget *log);

    void start();
    void stop() { m_ticks.stop(); }
    double longestGapMs() const { return m_longestGapMs; }
    double longestOwnGapMs() const { return m_longestOwnGapMs; }
    // The host's steal over all processors since start() (see HostStealMs()).
    double stolenMs() const;

private:
    void tick();

    QListWidget *m_log;
    QTimer m_ticks;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceTick;
    double m_waitedBefore = 0;
    double m_cpuBefore = 0;
    double m_stealBefore = 0;
    double m_longestGapMs = 0;
    double m_longestOwnGapMs = 0;
    qint64 m_tracedKib = 0;
};

} // namespace albivex::bench
