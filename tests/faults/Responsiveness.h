#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// How the user-interface thread fared during a piece of work: the longest gap between
// ticks of a 10 ms timer on it, and how far the process's resident memory rose above
// where it stood at the start (the peak, from the kernel's high-water mark, which is
// reset at the start).
class Responsiveness : public QObject
{
public:
    void start();
    void stop();

    qint64 longestGapMs() const { return m_longestGap; }
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

private:
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longestGap = 0;
    qint64 m_startKb = -1;
    qint64 m_peakGrowthKb = -1;
    bool m_peakReset = false;
};

// Memory measurements mean little under the address sanitizer, which keeps freed
// memory in quarantine and adds shadow memory to all of it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool MemoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool MemoryIsMeasurable = false;
#else
inline constexpr bool MemoryIsMeasurable = true;
#endif
#else
inline constexpr bool MemoryIsMeasurable = true;
#endif
