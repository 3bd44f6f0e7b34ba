#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

namespace albivex {

using QueryItem = QPair<QString, QString>;
using QueryItems = QList<QueryItem>;

// Joins the pairs as key=value&key=value in the order given. Values that come from
// the user or from a service answer may hold characters that would break the query;
// those characters are percent-encoded. Plain values (digits, letters, the fixed
// words of the services, an address) come out exactly as given.
QString BuildQuery(const QueryItems &items);

// base + "?" + BuildQuery(items).
QUrl UrlWithQuery(const QString &base, const QueryItems &items);

} // namespace albivex
