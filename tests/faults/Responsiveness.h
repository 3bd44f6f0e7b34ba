#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// How the user-interface thread fared during a piece of work: the longest gap between
// ticks of a 10 ms timer on it, and how far the process's resident memory rose above
// where it stood at the start (the peak, from the kernel's high-water mark, which is
// reset at the start).
//
// On a shared machine the thread may be ready to run and still wait for a processor
// that other programs hold; that wait is no fault of the tool. The gap that counts
// leaves it out (the kernel's run-queue delay of the thread); the gap as the wall
// clock sees it is kept too.
class Responsiveness : public QObject
{
public:
    void start();
    void stop();

    // Wall-clock gap less the waits for a processor held by others.
    qint64 longestGapMs() const { return m_longestOwnGap; }
    qint64 longestWallGapMs() const { return m_longestGap; }
    // Peak resident memory during the work minus resident memory at its start, in MB;
    // -1 when the system does not tell.
    double peakGrowthMb() const { return m_peakGrowthKb < 0 ? -1.0 : m_peakGrowthKb / 1024.0; }
    QString summary() const;

    // Resident memory now and its high-water mark, from /proc/self/status (kB; -1 when
    // unknown).
    static qint64 residentKb();
    static qint64 peakResidentKb();
    // Sets the high-water mark back to the memory resident now; false when the system
    // does not allow it.
    static bool resetPeak();
    // How long this thread has waited, ready to run, for a processor (ms; 0 where the
    // system does not tell).
    static double runQueueWaitMs();

private:
    void tick();

    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_lastWait = 0;
    qint64 m_longestGap = 0;
    qint64 m_longestOwnGap = 0;
    qint64 m_startKb = -1;
    qint64 m_peakGrowthKb = -1;
    bool m_peakReset = false;
};

// Built with the address sanitizer: everything runs slower, and memory measurements
// mean little, since freed memory is kept in quarantine and shadow memory is added to
// all of it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool SanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool SanitizedBuild = true;
#else
inline constexpr bool SanitizedBuild = false;
#endif
#else
inline constexpr bool SanitizedBuild = false;
#endif
inline constexpr bool MemoryIsMeasurable = !SanitizedBuild;
