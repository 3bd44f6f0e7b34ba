#include "window/ActivityLog.h"

#include "qzone/LocaleText.h"

#include <QListWidget>

namespace albivex {

ActivityLog::ActivityLog(QListWidget *list) : m_list(list) { }

void ActivityLog::append(const QString &message)
{
    m_list->addItem(QLatin1Char('[') + TimeOfDayText(QTime::currentTime()) + QLatin1Char(']') + message);
}

void ActivityLog::showLast()
{
    const int last = m_list->count() - 1;
    if (last >= 0) {
        m_list->setCurrentRow(last);
        m_list->scrollToItem(m_list->item(last));
    }
}

void ActivityLog::add(const QString &message)
{
    append(message);
    showLast();
}

void ActivityLog::add(const QStringList &messages)
{
    for (const QString &message : messages)
        append(message);
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
