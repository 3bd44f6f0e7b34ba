#include "qzone/PictureAddress.h"

namespace albivex {

namespace {

bool isQqPictureHost(const QString &host)
{
    static const QLatin1String domains[] = {QLatin1String("qq.com"), QLatin1String("qpic.cn")};
    for (const QLatin1String &domain : domains) {
        if (host == domain || host.endsWith(QLatin1Char('.') + domain))
            return true;
    }
    return false;
}

} // namespace

PictureAddress SecurePictureAddress(const QString &address, bool redirected)
{
    PictureAddress result;
    result.url = QUrl(address.trimmed(), QUrl::TolerantMode);
    const QUrl &given = result.url;
    if (redirected || !given.isValid() || given.scheme().toLower() != QLatin1String("http")
        || (given.port() != -1 && given.port() != 80) || !isQqPictureHost(given.host().toLower()))
        return result;
    result.plainFallback = given;
    result.url.setScheme(QStringLiteral("https"));
    result.url.setPort(-1);
    return result;
}

} // namespace albivex
