#pragma once

#include <QApplication>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <utility>

namespace albivex::bench {

// The application of a benchmark that drives the window: it keeps the window's
// thread's longest event deliveries, by receiver and event type, to show what a stall
// was spent on; with BENCH_PAINTS=1 also how often each widget was painted.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
    void forgetLongest() { m_longest.clear(); }
    // Prints the longest deliveries since the last call and forgets them.
    void printLongest();
    // With BENCH_GAPS=1: the top-level deliveries since the last call, a line each
    // (those under 0.5 ms counted together), to show what one long gap was made of.
    QStringList takeDeliveries();

private:
    int m_depth = 0;
    QList<std::pair<double, QString>> m_longest;
    QMap<QString, int> m_paints;
    QStringList m_deliveries;
    int m_shortDeliveries = 0;
    double m_shortMs = 0;
};

// The running TimedApplication.
TimedApplication *TimedApp();

} // namespace albivex::bench
