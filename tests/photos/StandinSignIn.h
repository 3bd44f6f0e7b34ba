#pragma once

#include "network/QueryString.h"
#include "qzone/CookieCapture.h"
#include "qzone/QzoneCredentials.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinKnobs.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QSignalSpy>

// Signs `uin` in on the stand-in's sign-in service through `nam`, whose cookie jar then
// holds the sign-in cookies, and returns the credentials as the sign-in window's cookie
// capture makes them. Empty credentials (signedIn 0) when the sign-in failed.
inline albivex::QzoneCredentials SignInOverHttp(QNetworkAccessManager &nam, const QString &root,
                                                const QString &uin)
{
    using namespace albivex;
    const QUrl submit = UrlWithQuery(root + QStringLiteral("/cgi-bin/login"),
                                     {{QStringLiteral("u"), uin},
                                      {QStringLiteral("p"), QStringLiteral("any password")},
                                      {QStringLiteral("s_url"), root + QStringLiteral("/")}});
    QNetworkReply *reply = nam.get(QNetworkRequest(submit));
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !done.wait(20000))
        reply->abort();
    reply->deleteLater();

    QStringList pairs;
    for (const QNetworkCookie &cookie : nam.cookieJar()->cookiesForUrl(QUrl(root + QStringLiteral("/"))))
        pairs << QString::fromLatin1(cookie.name()) + QLatin1Char('=') + QString::fromLatin1(cookie.value());
    QzoneCredentials credentials;
    const std::optional<CookieCapture> captured = CaptureCookieText(pairs.join(QStringLiteral("; ")));
    if (!captured)
        return credentials;
    credentials.uin = captured->uin;
    credentials.setKeys(captured->skey, QString());
    credentials.signedIn = 1;
    return credentials;
}

// SignInOverHttp, then the visit of the Qzone landing page that gives today's p_skey;
// the credentials carry it. The network layer may send the sign-in request twice (it
// resends a request whose connection closed under it), and the stand-in then issues two
// sign-ins: the one the jar holds is the one whose skey the credentials name. Empty
// pSkey when none was given.
inline albivex::QzoneCredentials SignInTodayOverHttp(QNetworkAccessManager &nam, const QString &root,
                                                     const QString &uin,
                                                     const albivex::standin::StandinKnobs &knobs)
{
    using namespace albivex;
    QzoneCredentials credentials = SignInOverHttp(nam, root, uin);
    QNetworkReply *reply
        = nam.get(QNetworkRequest(QUrl(root + QString::fromLatin1(standin::ServiceRoutes::LandingPath))));
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !done.wait(20000))
        reply->abort();
    reply->deleteLater();
    QString pSkey;
    for (const standin::SignIn &issued : knobs.issuedSignIns()) {
        if (issued.skey == credentials.skey)
            pSkey = issued.pSkey;
    }
    credentials.setKeys(credentials.skey, pSkey);
    return credentials;
}
