#include "standin/RequestView.h"

#include <QHttpServerRequest>
#include <QRegularExpression>

namespace albivex::standin {

namespace {

QString methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return QStringLiteral("GET");
    case QHttpServerRequest::Method::Post:
        return QStringLiteral("POST");
    case QHttpServerRequest::Method::Head:
        return QStringLiteral("HEAD");
    case QHttpServerRequest::Method::Put:
        return QStringLiteral("PUT");
    case QHttpServerRequest::Method::Delete:
        return QStringLiteral("DELETE");
    case QHttpServerRequest::Method::Options:
        return QStringLiteral("OPTIONS");
    case QHttpServerRequest::Method::Patch:
        return QStringLiteral("PATCH");
    default:
        return QStringLiteral("OTHER");
    }
}

} // namespace

QList<QPair<QString, QString>> RequestView::splitQuery(const QString &raw, bool plusIsBlank)
{
    QList<QPair<QString, QString>> items;
    if (raw.isEmpty())
        return items;
    const auto decode = [plusIsBlank](QString text) {
        if (plusIsBlank)
            text.replace(QLatin1Char('+'), QLatin1Char(' '));
        const QString decoded = QUrl::fromPercentEncoding(text.toUtf8());
        return decoded.isNull() ? QStringLiteral("") : decoded;
    };
    for (const QString &pair : raw.split(QLatin1Char('&'))) {
        const int eq = pair.indexOf(QLatin1Char('='));
        items.append({decode(eq < 0 ? pair : pair.left(eq)), decode(eq < 0 ? QString() : pair.mid(eq + 1))});
    }
    return items;
}

QList<QPair<QString, QString>> RequestView::form() const
{
    return splitQuery(QString::fromUtf8(logged.body), true);
}

RequestView RequestView::from(const QHttpServerRequest &request, const QString &serverRoot)
{
    RequestView view;
    LoggedRequest &log = view.logged;
    const QUrl url = request.url();
    log.method = methodName(request.method());
    log.path = url.path();
    log.rawQuery = url.query(QUrl::FullyEncoded);
    log.query = splitQuery(log.rawQuery, false);
    log.headers = request.headers();
    log.body = request.body();

    for (const QByteArray &line : log.header("Cookie").split(';')) {
        const QByteArray pair = line.trimmed();
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        const QString name = QString::fromLatin1(eq < 0 ? pair : pair.left(eq)).trimmed();
        log.cookieNames.append(name);
        if (!view.cookies.contains(name))
            view.cookies.insert(name,
                                QString::fromLatin1(eq < 0 ? QByteArray() : pair.mid(eq + 1)).trimmed());
    }

    static const QRegularExpression plainHost(
        QStringLiteral("^[A-Za-z0-9.\\-]+(:[0-9]{1,5})?$|^\\[[0-9A-Fa-f:.]+\\](:[0-9]{1,5})?$"));
    const QString host = QString::fromLatin1(log.header("Host"));
    view.root = plainHost.match(host).hasMatch() ? QStringLiteral("http://") + host : serverRoot;
    return view;
}

} // namespace albivex::standin
