#include "network/SharedCookieJar.h"

#include <QNetworkCookie>

namespace albivex {

int SharedCookieJar::removeWhere(const std::function<bool(const QNetworkCookie &)> &which)
{
    QList<QNetworkCookie> kept;
    const QList<QNetworkCookie> all = allCookies();
    for (const QNetworkCookie &cookie : all) {
        if (!which(cookie))
            kept.append(cookie);
    }
    setAllCookies(kept);
    return int(all.size() - kept.size());
}

} // namespace albivex
