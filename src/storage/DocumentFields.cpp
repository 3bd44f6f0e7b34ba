#include "storage/DocumentFields.h"

#include <QTimeZone>

namespace albivex {

QDateTime DocumentTime(const QDateTime &time)
{
    constexpr int ServiceOffsetSeconds = 8 * 3600;
    if (!time.isValid())
        return QDateTime();
    const QDateTime shown
        = QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), QTimeZone(ServiceOffsetSeconds));
    const int year = shown.date().year();
    return year >= 1 && year <= 9999 ? shown : QDateTime();
}

void PutText(QJsonObject &object, const char *key, const QString &value)
{
    if (!value.isEmpty())
        object.insert(QLatin1String(key), value);
}

void PutTime(QJsonObject &object, const char *key, const QDateTime &time)
{
    const QDateTime shown = DocumentTime(time);
    if (shown.isValid())
        object.insert(QLatin1String(key), shown.toString(Qt::ISODate));
}

} // namespace albivex
