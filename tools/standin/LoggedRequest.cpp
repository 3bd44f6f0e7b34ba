#include "standin/LoggedRequest.h"

#include <QUrl>

namespace albivex::standin {

QStringList LoggedRequest::queryKeys() const
{
    QStringList keys;
    for (const auto &item : query)
        keys.append(item.first);
    return keys;
}

QString LoggedRequest::queryValue(const QString &key) const
{
    for (const auto &item : query) {
        if (item.first == key)
            return item.second;
    }
    return QString();
}

QByteArray LoggedRequest::header(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return QByteArray();
}

QString LoggedRequest::toLine() const
{
    QString line = method + QLatin1Char(' ') + path;
    if (!rawQuery.isEmpty())
        line += QLatin1Char('?') + rawQuery;
    line += QStringLiteral(" cookies=") + cookieNames.join(QLatin1Char(','));
    if (!body.isEmpty())
        line += QStringLiteral(" body=") + QString::fromLatin1(body.toPercentEncoding("=&:/,@"));
    if (!fault.isEmpty())
        line += QStringLiteral(" fault=") + fault;
    line += QStringLiteral(" at=%1ms").arg(arrivalMs);
    return line;
}

} // namespace albivex::standin
