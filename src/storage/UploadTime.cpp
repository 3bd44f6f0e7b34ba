#include "storage/UploadTime.h"

#include <QTimeZone>

namespace albivex {

namespace {

constexpr int ServiceUtcOffsetSeconds = 8 * 3600;

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !text.isEmpty();
}

} // namespace

QDateTime ParseUploadTime(const QString &text, const QDateTime &now)
{
    const QString t = text.trimmed();
    QDateTime result;
    if (allDigits(t)) {
        // Seconds since 1970; milliseconds when the number is that long.
        bool ok = false;
        qint64 value = t.toLongLong(&ok);
        if (ok && t.size() >= 13)
            value /= 1000;
        if (ok && t.size() >= 9)
            result = QDateTime::fromSecsSinceEpoch(value, Qt::UTC);
    } else {
        const QTimeZone serviceZone(ServiceUtcOffsetSeconds);
        static const QLatin1String formats[]
            = {QLatin1String("yyyy-MM-dd HH:mm:ss"), QLatin1String("yyyy-MM-dd HH:mm"),
               QLatin1String("yyyy-MM-dd")};
        for (const QLatin1String &format : formats) {
            const QDateTime local = QDateTime::fromString(t, format);
            if (local.isValid()) {
                result = QDateTime(local.date(), local.time(), serviceZone);
                break;
            }
        }
    }
    if (!result.isValid() || result.toSecsSinceEpoch() <= 0 || result > now.addDays(1))
        return QDateTime();
    return result;
}

} // namespace albivex
