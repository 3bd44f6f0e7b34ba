#include "qzone/ProfileRequest.h"

#include "network/FetchText.h"
#include "qzone/Endpoints.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

namespace albivex {

QByteArray ProfileRequest::body(const QString &uin)
{
    return QByteArrayLiteral("callback=GetCdlistCallback&cid=316&sin=0&ein=15&rettype=19&nolist=0&type=0&id=")
        + uin.toUtf8();
}

ProfileRequest::ProfileRequest(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                               QObject *parent, int idleMs)
    : BoundedReply(parent, MaxBytes)
{
    QNetworkRequest request(endpoints.url(Endpoint::Profile));
    request.setRawHeader("Content-Type", "text/html;charset=utf-8");
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    watch(nam.post(request, body(uin)), idleMs);
}

void ProfileRequest::report(bool ok, const QByteArray &body, const QByteArray &contentType)
{
    Q_EMIT finished(ok ? DecodeBody(body, contentType) : QString());
}

ProfileRequest *FetchProfileText(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                                 QObject *context, std::function<void(const QString &)> done)
{
    auto *request = new ProfileRequest(nam, endpoints, uin, context);
    QObject::connect(request, &ProfileRequest::finished, context,
                     [done = std::move(done)](const QString &text) { done(text); });
    return request;
}

QUrl AvatarAddress(const Endpoints &endpoints, const QString &uin)
{
    // The requesting site is this tool's own site, whatever root the services use.
    const QString site = QUrl(QStringLiteral(ALBIVEX_VENDOR_SITE)).host();
    return QUrl(endpoints.text(Endpoint::Avatar) + QStringLiteral("?bs=qq&dst_uin=") + uin
                + QStringLiteral("&src_uin=") + site + QStringLiteral("&fid=qiwomu&spec=3"));
}

QUrl SignInPageAddress(const Endpoints &endpoints)
{
    return QUrl(endpoints.text(Endpoint::SignIn) + QStringLiteral("?appid=8000201&style=20&s_url=")
                + endpoints.text(Endpoint::SecurityCentre));
}

} // namespace albivex
