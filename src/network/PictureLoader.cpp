#include "network/PictureLoader.h"

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
    : BoundedReply(parent, maxBytes), m_nam(nam), m_idleMs(idleMs)
{
    watch(nam.get(QNetworkRequest(url)), idleMs);
}

bool PictureLoader::askElsewhere(const QNetworkReply &failed)
{
    if (m_fallback.url().isEmpty() || failed.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const QNetworkRequest fallback = m_fallback;
    m_fallback = QNetworkRequest();
    watch(m_nam.get(fallback), m_idleMs);
    return true;
}

void PictureLoader::report(bool ok, const QByteArray &body, const QByteArray &)
{
    // Whatever the status code, a body that decodes is the picture; a transport
    // failure or an answer that is no picture leaves a null image.
    Q_EMIT finished(ok ? DecodePicture(body) : QImage());
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
