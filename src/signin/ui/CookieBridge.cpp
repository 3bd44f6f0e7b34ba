#include "signin/ui/CookieBridge.h"

#include "network/SharedCookieJar.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>

namespace albivex {

QString CookieText(const QList<QNetworkCookie> &cookies)
{
    QStringList pairs;
    pairs.reserve(cookies.size());
    for (const QNetworkCookie &cookie : cookies)
        pairs.append(QString::fromUtf8(cookie.toRawForm(QNetworkCookie::NameAndValueOnly)));
    return pairs.join(QStringLiteral("; "));
}

CookieBridge::CookieBridge(QWebEngineCookieStore &store, QNetworkAccessManager &nam, QObject *parent)
    : QObject(parent), m_store(store), m_nam(nam)
{
    connect(&m_store, &QWebEngineCookieStore::cookieAdded, this, [this](const QNetworkCookie &cookie) {
        m_mirror.insertCookie(cookie);
        m_nam.cookieJar()->insertCookie(cookie);
        Q_EMIT cookieAdded();
    });
    connect(&m_store, &QWebEngineCookieStore::cookieRemoved, this, [this](const QNetworkCookie &cookie) {
        m_mirror.deleteCookie(cookie);
        m_nam.cookieJar()->deleteCookie(cookie);
    });
    // Cookies the store held before the bridge existed are reported again.
    m_store.loadAllCookies();
}

QString CookieBridge::cookieTextFor(const QUrl &url) const
{
    return CookieText(m_mirror.cookiesForUrl(url));
}

QList<QNetworkCookie> CookieBridge::browserCookies() const
{
    return m_mirror.cookies();
}

void CookieBridge::removeCookies(const std::function<bool(const QNetworkCookie &)> &which)
{
    const QList<QNetworkCookie> all = m_mirror.cookies();
    for (const QNetworkCookie &cookie : all) {
        if (which(cookie)) {
            m_store.deleteCookie(cookie);
            m_mirror.deleteCookie(cookie);
            m_nam.cookieJar()->deleteCookie(cookie);
        }
    }
    if (auto *jar = qobject_cast<SharedCookieJar *>(m_nam.cookieJar()))
        jar->removeWhere(which);
}

} // namespace albivex
