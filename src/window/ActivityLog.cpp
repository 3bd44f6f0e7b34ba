#include "window/ActivityLog.h"

#include "qzone/LocaleText.h"

#include <QListWidget>

namespace albivex {

ActivityLog::ActivityLog(QListWidget *list) : m_list(list) { }

void ActivityLog::append(const QString &message, const QTime &writtenAt)
{
    m_list->addItem(QLatin1Char('[') + TimeOfDayText(writtenAt) + QLatin1Char(']') + message);
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
}

void ActivityLog::add(const QString &message)
{
    append(message, QTime::currentTime());
    showLast();
}

void ActivityLog::add(const QStringList &messages)
{
    const QTime now = QTime::currentTime();
    for (const QString &message : messages)
        append(message, now);
    showLast();
}

void ActivityLog::add(const QList<std::pair<QTime, QStringList>> &written)
{
    for (const auto &[writtenAt, messages] : written) {
        for (const QString &message : messages)
            append(message, writtenAt);
    }
    showLast();
}

void ActivityLog::clear()
{
    m_list->clear();
}

QStringList ActivityLog::lines() const
{
    QStringList result;
    result.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->text();
    return result;
}

} // namespace albivex
