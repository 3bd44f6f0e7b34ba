#include "catalogue/FetchText.h"

#include "catalogue/ReplyWatchdog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

namespace albivex {

QString DecodeBody(const QByteArray &body, const QByteArray &contentType)
{
    QByteArray charset;
    const QList<QByteArray> parts = contentType.split(';');
    for (const QByteArray &part : parts) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset=")) {
            charset = p.mid(8).trimmed();
            if (charset.size() >= 2 && (charset.startsWith('"') || charset.startsWith('\'')))
                charset = charset.mid(1, charset.size() - 2);
        }
    }
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromUtf8(body);
}

TextRequest::TextRequest(QNetworkAccessManager &nam, const QUrl &url, QObject *parent, int idleMs,
                         qint64 maxBytes)
    : QObject(parent), m_maxBytes(maxBytes)
{
    QNetworkRequest request(url);
    // Never a cached copy: the services' answers change with every upload.
    request.setRawHeader("If-Modified-Since", "0");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    m_reply = nam.get(request);
    new ReplyWatchdog(m_reply, idleMs);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > m_maxBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &TextRequest::onFinished);
}

void TextRequest::cancel()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    deleteLater();
}

void TextRequest::onFinished()
{
    // An HTTP error status still brings a body, and the services' error pages are
    // answers like any other; only a transport failure (no connection, reset,
    // time-out, cut-off body, over-long answer) yields empty text.
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

TextRequest *FetchText(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                       std::function<void(const QString &)> done, int idleMs)
{
    auto *request = new TextRequest(nam, url, context, idleMs);
    QObject::connect(request, &TextRequest::finished, context,
                     [done = std::move(done)](const QString &text) { done(text); });
    return request;
}

} // namespace albivex
