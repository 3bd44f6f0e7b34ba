#include "network/BoundedReply.h"

#include "network/ReplyWatchdog.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace albivex {

BoundedReply::BoundedReply(QObject *parent, qint64 maxBytes) : QObject(parent), m_maxBytes(maxBytes) { }

void BoundedReply::watch(QNetworkReply *reply, int idleMs)
{
    m_reply = reply;
    new ReplyWatchdog(reply, idleMs);
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > m_maxBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, &BoundedReply::onFinished);
}

void BoundedReply::cancel()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    deleteLater();
}

void BoundedReply::onFinished()
{
    const int error = m_reply->error();
    const bool transportFailure = (error > 0 && error < 200) || error == QNetworkReply::ProtocolFailure;
    QNetworkReply *reply = m_reply;
    if (transportFailure && !m_tooLarge && askElsewhere(*reply)) {
        reply->disconnect(this);
        reply->deleteLater();
        return;
    }
    const bool ok = !transportFailure && !m_tooLarge;
    const QByteArray body = ok ? m_reply->readAll() : QByteArray();
    const QByteArray contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    m_httpStatus = ok ? m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    m_reply->deleteLater();
    report(ok, body, contentType);
    deleteLater();
}

} // namespace albivex
