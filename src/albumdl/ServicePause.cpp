#include "albumdl/ServicePause.h"

#include <QTime>

namespace albivex {

QList<int> ServicePauseOptions::parseSchedule(const QString &seconds)
{
    QList<int> schedule;
    for (const QString &piece : seconds.split(QLatin1Char(','))) {
        bool ok = false;
        const double value = piece.trimmed().toDouble(&ok);
        if (!ok || value <= 0 || value > 86400)
            return {};
        schedule << qMax(1, qRound(value * 1000));
    }
    return schedule;
}

ServicePause::ServicePause(ServicePauseOptions options, QObject *parent)
    : QObject(parent), m_options(std::move(options))
{
    m_timer.setSingleShot(true);
    // Never before the pause's length: a coarse timer may end a pause of 60 s three
    // seconds early, while the service still turns the run away, and the run then
    // pauses again for the next, longer length of the schedule.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_ticks.stop();
        Q_EMIT resumed();
    });
    m_ticks.setInterval(1000);
    connect(&m_ticks, &QTimer::timeout, this, &ServicePause::onTick);
}

void ServicePause::begin(int retryAfterMs)
{
    if (isPaused())
        return;
    const QList<int> &schedule = m_options.scheduleMs;
    const int scheduled = schedule.isEmpty() ? 60000 : schedule.at(qMin(m_next, int(schedule.size()) - 1));
    m_next = qMin(m_next + 1, int(schedule.size()));
    m_clean = 0;
    const int pauseMs = qMax(scheduled, retryAfterMs);
    m_timer.start(pauseMs);
    m_ticks.start();
    Q_EMIT began(pauseMs);
    Q_EMIT countdown(pauseMs);
}

void ServicePause::cancel()
{
    m_timer.stop();
    m_ticks.stop();
}

int ServicePause::remainingMs() const
{
    return isPaused() ? qMax(0, m_timer.remainingTime()) : 0;
}

void ServicePause::onTick()
{
    if (isPaused())
        Q_EMIT countdown(remainingMs());
}

void ServicePause::noteListAnswer(bool busy)
{
    if (!busy) {
        noteClean();
        return;
    }
    m_clean = 0;
    m_gapMs = m_gapMs == 0 ? m_options.firstGapMs : qMin(m_options.maxGapMs, m_gapMs * 2);
}

void ServicePause::noteAnswer(bool busy)
{
    if (!busy) {
        noteClean();
        return;
    }
    m_clean = 0;
    m_gapMs = qMax(m_gapMs, m_options.firstGapMs);
}

void ServicePause::noteClean()
{
    if (++m_clean >= m_options.cleanToReset) {
        m_next = 0;
        m_gapMs = 0;
    }
}

int ServicePause::listWaitMs() const
{
    if (m_gapMs == 0 || !m_sinceListRequest.isValid())
        return 0;
    return int(qMax<qint64>(0, m_gapMs - m_sinceListRequest.elapsed()));
}

void ServicePause::noteListRequest()
{
    m_sinceListRequest.start();
}

QString PauseBeganText(int pauseMs)
{
    const int seconds = (pauseMs + 999) / 1000;
    return QStringLiteral("服务繁忙，暂停下载%1分%2秒，%3继续..")
        .arg(seconds / 60)
        .arg(seconds % 60)
        .arg(QTime::currentTime().addMSecs(pauseMs).toString(QStringLiteral("HH:mm:ss")));
}

QString PauseCountdownText(int remainingMs)
{
    const int seconds = (qMax(0, remainingMs) + 999) / 1000;
    return QStringLiteral("服务繁忙，%1分%2秒后继续..").arg(seconds / 60).arg(seconds % 60);
}

} // namespace albivex
