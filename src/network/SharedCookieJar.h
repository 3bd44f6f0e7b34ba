#pragma once

#include <QNetworkCookie>
#include <QNetworkCookieJar>

#include <functional>

namespace albivex {

// The cookie jar of the process's network manager. Besides what every jar does it
// lists its cookies and removes a chosen set of them, which sign-out needs to throw
// away QQ's cookies while keeping those of other sites.
class SharedCookieJar : public QNetworkCookieJar
{
    Q_OBJECT
public:
    using QNetworkCookieJar::QNetworkCookieJar;

    QList<QNetworkCookie> cookies() const { return allCookies(); }

    // Removes every cookie for which `which` is true; returns how many went.
    int removeWhere(const std::function<bool(const QNetworkCookie &)> &which);
};

} // namespace albivex
