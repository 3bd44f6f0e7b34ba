#pragma once

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QObject>

#include <functional>

class QNetworkAccessManager;
class QWebEngineCookieStore;

namespace albivex {

// Keeps the network manager's jar (whichever jar it has at the time) holding every
// cookie of the browser's cookie store:
// each cookie the store adds is inserted into the jar, each it removes is deleted
// from it. So the album and photo requests and the picture downloads carry the
// cookies of the sign-in. It also mirrors the store on its own, to tell which of the
// store's cookies a page address would be sent.
class CookieBridge : public QObject
{
    Q_OBJECT
public:
    CookieBridge(QWebEngineCookieStore &store, QNetworkAccessManager &nam, QObject *parent = nullptr);

    // The cookies the browser holds for `url` (domain, path, secure and expiry matched
    // as a browser sends them), as "name=value" pairs joined by "; ".
    QString cookieTextFor(const QUrl &url) const;

    // The browser store's cookies as last reported by it.
    QList<QNetworkCookie> browserCookies() const;

    // Removes the chosen cookies from the browser's store and from the network jar
    // (with a SharedCookieJar, also those the jar got from network answers); the
    // others stay.
    void removeCookies(const std::function<bool(const QNetworkCookie &)> &which);

Q_SIGNALS:
    // A cookie the browser stored, after the jar has it too.
    void cookieAdded();

private:
    // Exposes the matching of a plain jar for the mirror of the store.
    class Mirror : public QNetworkCookieJar
    {
    public:
        QList<QNetworkCookie> cookies() const { return allCookies(); }
    };

    QWebEngineCookieStore &m_store;
    QNetworkAccessManager &m_nam;
    Mirror m_mirror;
};

// "name=value" pairs joined by "; ", in the order given.
QString CookieText(const QList<QNetworkCookie> &cookies);

} // namespace albivex
