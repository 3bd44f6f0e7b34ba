#include "network/FetchText.h"

#include <QNetworkAccessManager>
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
    : BoundedReply(parent, maxBytes)
{
    QNetworkRequest request(url);
    // Never a cached copy: the services' answers change with every upload.
    request.setRawHeader("If-Modified-Since", "0");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    watch(nam.get(request), idleMs);
}

void TextRequest::report(bool ok, const QByteArray &body, const QByteArray &contentType)
{
    Q_EMIT finished(ok ? DecodeBody(body, contentType) : QString());
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
