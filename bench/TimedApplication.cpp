#include "TimedApplication.h"

#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace albivex::bench {

bool TimedApplication::notify(QObject *receiver, QEvent *event)
{
    if (QThread::currentThread() != thread())
        return QApplication::notify(receiver, event);
    // The receiver may be gone after the delivery (a deferred delete).
    const char *className = receiver->metaObject()->className();
    // A scroll area's viewport is named by its scroll area.
    const QString name
        = receiver->objectName() == QLatin1String("qt_scrollarea_viewport") && receiver->parent()
        ? receiver->parent()->objectName() + QStringLiteral("'s viewport")
        : receiver->objectName();
    const int type = int(event->type());
    static const bool paints = qEnvironmentVariableIsSet("BENCH_PAINTS");
    if (paints && type == 12)
        m_paints[QString::fromLatin1(className) + QLatin1Char(' ') + name] += 1;
    ++m_depth;
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = ThreadCpuMs();
    const bool result = QApplication::notify(receiver, event);
    const double ms = clock.nsecsElapsed() / 1e6;
    const double cpuMs = ThreadCpuMs() - cpuBefore;
    --m_depth;
    static const bool gaps = qEnvironmentVariableIsSet("BENCH_GAPS");
    if (gaps && m_depth == 0) {
        if (ms >= 0.5) {
            m_deliveries << QStringLiteral("%1 ms (%2 on the processor) %3 (%4), event %5")
                                .arg(ms, 0, 'f', 1)
                                .arg(cpuMs, 0, 'f', 1)
                                .arg(QString::fromLatin1(className), name)
                                .arg(type);
        } else {
            ++m_shortDeliveries;
            m_shortMs += ms;
        }
    }
    if (ms >= 4) {
        const QString what
            = QStringLiteral("(%5 ms of it on the processor) %1%2 (%3), event %4")
                  .arg(QString(m_depth * 2, QLatin1Char(' ')), QString::fromLatin1(className), name)
                  .arg(type)
                  .arg(cpuMs, 0, 'f', 1);
        m_longest << std::pair(ms, what);
        std::sort(m_longest.begin(), m_longest.end(), std::greater<>());
        if (m_longest.size() > 16)
            m_longest.removeLast();
    }
    return result;
}

void TimedApplication::printLongest()
{
    for (const auto &[ms, what] : std::as_const(m_longest))
        std::printf("    handler %7.1f ms  %s\n", ms, qPrintable(what));
    m_longest.clear();
    for (auto it = m_paints.cbegin(); it != m_paints.cend(); ++it)
        std::printf("    paints %6d  %s\n", it.value(), qPrintable(it.key()));
    m_paints.clear();
}

QStringList TimedApplication::takeDeliveries()
{
    QStringList taken = std::exchange(m_deliveries, {});
    taken << QStringLiteral("%1 short ones, %2 ms").arg(m_shortDeliveries).arg(m_shortMs, 0, 'f', 1);
    m_shortDeliveries = 0;
    m_shortMs = 0;
    return taken;
}

TimedApplication *TimedApp()
{
    return static_cast<TimedApplication *>(QCoreApplication::instance());
}

} // namespace albivex::bench
