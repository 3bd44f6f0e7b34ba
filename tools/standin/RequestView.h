#pragma once

#include "standin/LoggedRequest.h"

#include <QHash>

class QHttpServerRequest;

namespace albivex::standin {

// What the routes need of a request, taken out of Qt's request object (which lives only
// while the request is handled).
struct RequestView
{
    LoggedRequest logged;
    QHash<QString, QString> cookies; // name -> value
    QString root; // "http://" + the Host the client used (the stand-in's own root without one)

    QString method() const { return logged.method; }
    QString path() const { return logged.path; }
    QString query(const QString &key) const { return logged.queryValue(key); }
    QString cookie(const QString &name) const { return cookies.value(name); }
    // Keys and values of an "application/x-www-form-urlencoded" body.
    QList<QPair<QString, QString>> form() const;

    static RequestView from(const QHttpServerRequest &request, const QString &serverRoot);
    static QList<QPair<QString, QString>> splitQuery(const QString &raw, bool plusIsBlank);
};

} // namespace albivex::standin
