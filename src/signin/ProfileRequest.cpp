#include "signin/ProfileRequest.h"

#include "catalogue/Endpoints.h"
#include "catalogue/FetchText.h"
#include "catalogue/ReplyWatchdog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace albivex {

QByteArray ProfileRequest::body(const QString &uin)
{
    return QByteArrayLiteral("callback=GetCdlistCallback&cid=316&sin=0&ein=15&rettype=19&nolist=0&type=0&id=")
        + uin.toUtf8();
}

ProfileRequest::ProfileRequest(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                               QObject *parent, int idleMs)
    : QObject(parent)
{
    QNetworkRequest request(endpoints.url(Endpoint::Profile));
    request.setRawHeader("Content-Type", "text/html;charset=utf-8");
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    m_reply = nam.post(request, body(uin));
    new ReplyWatchdog(m_reply, idleMs);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > MaxBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &ProfileRequest::onFinished);
}

void ProfileRequest::cancel()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    deleteLater();
}

void ProfileRequest::onFinished()
{
    const int error = m_reply->error();
    const bool transportFailure = (error > 0 && error < 200) || error == QNetworkReply::ProtocolFailure;
    QString text;
    if (!transportFailure && !m_tooLarge) {
        text = DecodeBody(m_reply->readAll(),
                          m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    }
    m_reply->deleteLater();
    Q_EMIT finished(text);
    deleteLater();
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
