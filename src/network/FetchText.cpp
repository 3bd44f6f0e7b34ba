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
    const QString text = ok ? DecodeBody(body, contentType) : QString();
    Q_EMIT answered(TextAnswer {text, httpStatus()});
    Q_EMIT finished(text);
}

TextRequest *FetchTextAnswer(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                             std::function<void(const TextAnswer &)> done, int idleMs)
{
    auto *request = new TextRequest(nam, url, context, idleMs);
    QObject::connect(request, &TextRequest::answered, context,
                     [done = std::move(done)](const TextAnswer &answer) { done(answer); });
    return request;
}

TextRequest *FetchText(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                       std::function<void(const QString &)> done, int idleMs)
{
    return FetchTextAnswer(
        nam, url, context, [done = std::move(done)](const TextAnswer &answer) { done(answer.text); }, idleMs);
}

} // namespace albivex
