#include "network/CookieRestriction.h"

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkRequest>

namespace albivex {

void RestrictCookies(QNetworkRequest &request, const QNetworkCookieJar *jar, const QByteArray &name)
{
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    if (!jar)
        return;
    for (const QNetworkCookie &cookie : jar->cookiesForUrl(request.url())) {
        if (cookie.name() == name)
            request.setRawHeader("Cookie", cookie.toRawForm(QNetworkCookie::NameAndValueOnly));
    }
}

} // namespace albivex
