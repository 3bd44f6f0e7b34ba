#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QString>

namespace albivex::standin {

// One sign-in as the stand-in issued it.
struct SignIn
{
    QString uin; // the QQ number, as digits without leading zeros
    QString skey; // "@" + 9 characters
    QList<QNetworkCookie> cookies; // every cookie the sign-in answer sets, in order
    // Set later, in the today profile: the p_skey cookie of the Qzone landing page and
    // the qq_photo_key cookie of the photo lists; empty until then.
    QString pSkey;
    QString photoKey;

    QString uinCookie() const; // "o" + the number left-padded with zeros to ten digits
    // "name=value; name=value..." of all cookies, as a browser would send them.
    QByteArray cookieHeader() const;
};

} // namespace albivex::standin
