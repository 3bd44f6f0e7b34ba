#include "storage/DocumentFields.h"

#include <QJsonDocument>
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

QString TextOf(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

QDateTime TimeOf(const QJsonObject &object, const char *key)
{
    const QDateTime time = QDateTime::fromString(TextOf(object, key), Qt::ISODate);
    if (!time.isValid() || time.timeSpec() == Qt::LocalTime)
        return QDateTime();
    return DocumentTime(time);
}

QList<QJsonObject> SalvageArrayObjects(const QByteArray &text, const QByteArray &arrayKey)
{
    QList<QJsonObject> found;
    const qsizetype key = text.indexOf('"' + arrayKey + '"');
    if (key < 0)
        return found;
    qsizetype i = text.indexOf('[', key);
    if (i < 0)
        return found;
    int depth = 0;
    bool inString = false;
    qsizetype start = -1;
    for (++i; i < text.size(); ++i) {
        const char c = text.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (depth++ == 0)
                start = i;
        } else if (c == '}' || c == ']') {
            if (depth == 0)
                break; // the array's end
            if (--depth == 0) {
                const QJsonDocument one = QJsonDocument::fromJson(text.mid(start, i - start + 1));
                if (!one.isObject())
                    break;
                found.append(one.object());
            }
        }
    }
    return found;
}

} // namespace albivex
