#include "catalogue/PictureLoader.h"

#include "catalogue/ReplyWatchdog.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>

namespace albivex {

QImage DecodePicture(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // Addresses often lie about their type (".png" serving a JPEG): the content decides.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

QImage StretchOnWhite(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || size.isEmpty())
        return QImage();
    QImage result(size, QImage::Format_RGB32);
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
    painter.end();
    return result;
}

PictureLoader::PictureLoader(QNetworkAccessManager &nam, const QUrl &url, QObject *parent, int idleMs,
                             qint64 maxBytes)
    : QObject(parent), m_maxBytes(maxBytes)
{
    QNetworkRequest request(url);
    m_reply = nam.get(request);
    new ReplyWatchdog(m_reply, idleMs);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > m_maxBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &PictureLoader::onFinished);
}

void PictureLoader::cancel()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    deleteLater();
}

void PictureLoader::onFinished()
{
    // Whatever the status code, a body that decodes is the picture; a transport
    // failure or an answer that is no picture leaves a null image.
    const int error = m_reply->error();
    const bool transportFailure = (error > 0 && error < 200) || error == QNetworkReply::ProtocolFailure;
    QImage picture;
    if (!transportFailure && !m_tooLarge)
        picture = DecodePicture(m_reply->readAll());
    m_reply->deleteLater();
    Q_EMIT finished(picture);
    deleteLater();
}

PictureLoader *LoadPictureFromUrl(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                                  std::function<void(const QImage &)> done, int idleMs)
{
    auto *loader = new PictureLoader(nam, url, context, idleMs);
    QObject::connect(loader, &PictureLoader::finished, context,
                     [done = std::move(done)](const QImage &picture) { done(picture); });
    return loader;
}

} // namespace albivex
