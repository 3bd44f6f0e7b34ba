#include "network/QueryString.h"

namespace albivex {

QString BuildQuery(const QueryItems &items)
{
    // Kept as they are: unreserved characters and the delimiters that mean nothing
    // inside a query value. Encoded: '&', '=', '+', '#', '%', blanks, controls and
    // every non-ASCII byte.
    static const QByteArray keep = QByteArrayLiteral("!$'()*,;:@/?");
    QString query;
    for (const QueryItem &item : items) {
        if (!query.isEmpty())
            query += QLatin1Char('&');
        query += item.first;
        query += QLatin1Char('=');
        query += QString::fromLatin1(QUrl::toPercentEncoding(item.second, keep));
    }
    return query;
}

QUrl UrlWithQuery(const QString &base, const QueryItems &items)
{
    return QUrl(base + QLatin1Char('?') + BuildQuery(items));
}

} // namespace albivex
