#include "window/ActivityLog.h"

#include "qzone/LocaleText.h"

#include <QListWidget>

namespace albivex {

namespace {

QString Stamped(const QString &message, const QTime &writtenAt)
{
    return QLatin1Char('[') + TimeOfDayText(writtenAt) + QLatin1Char(']') + message;
}

} // namespace

ActivityLog::ActivityLog(QListWidget *list) : m_list(list)
{
    m_showTimer.setSingleShot(true);
    QObject::connect(&m_showTimer, &QTimer::timeout, m_list, [this] { showHeld(); });
}

void ActivityLog::append(const QString &message, const QTime &writtenAt)
{
    m_list->addItem(Stamped(message, writtenAt));
}

void ActivityLog::showLast()
{
    // A tenth more is let in before the oldest go, so that they go in runs, not one
    // line at a time.
    if (m_list->count() > MaxLines + MaxLines / 10)
        m_list->model()->removeRows(0, m_list->count() - MaxLines);
    const int last = m_list->count() - 1;
    if (last >= 0) {
        m_list->setCurrentRow(last);
        m_list->scrollToItem(m_list->item(last));
    }
    m_sinceShown.start();
}

void ActivityLog::add(const QString &message)
{
    add(QStringList {message});
}

void ActivityLog::add(const QStringList &messages)
{
    add({{QTime::currentTime(), messages}});
}

void ActivityLog::add(const QList<std::pair<QTime, QStringList>> &written)
{
    // Lines held from before come first, so that every writer's lines keep their order.
    m_showTimer.stop();
    for (const auto &[writtenAt, messages] : std::exchange(m_held, {})) {
        for (const QString &message : messages)
            append(message, writtenAt);
    }
    for (const auto &[writtenAt, messages] : written) {
        for (const QString &message : messages)
            append(message, writtenAt);
    }
    showLast();
}

void ActivityLog::addPaced(const QStringList &messages)
{
    if (m_held.isEmpty() && (!m_sinceShown.isValid() || m_sinceShown.hasExpired(PaceMs))) {
        add(messages);
        return;
    }
    m_held.append({QTime::currentTime(), messages});
    if (!m_showTimer.isActive())
        m_showTimer.start(qMax<qint64>(0, PaceMs - m_sinceShown.elapsed()));
}

void ActivityLog::showHeld()
{
    if (!m_held.isEmpty())
        add(QList<std::pair<QTime, QStringList>>());
}

void ActivityLog::clear()
{
    m_showTimer.stop();
    m_held.clear();
    m_list->clear();
}

QStringList ActivityLog::lines() const
{
    QStringList result;
    result.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->text();
    for (const auto &[writtenAt, messages] : m_held) {
        for (const QString &message : messages)
            result << Stamped(message, writtenAt);
    }
    return result;
}

} // namespace albivex
