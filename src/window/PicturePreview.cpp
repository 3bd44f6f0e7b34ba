#include "window/PicturePreview.h"

#include "network/PictureLoader.h"

#include <QLabel>
#include <QPixmap>

namespace albivex {

PicturePreview::PicturePreview(QNetworkAccessManager &nam, QLabel &box, QObject *parent)
    : QObject(parent), m_nam(nam), m_box(box)
{ }

PicturePreview::~PicturePreview()
{
    if (m_pending)
        m_pending->cancel();
}

void PicturePreview::showPreview(const QString &address)
{
    if (m_pending)
        m_pending->cancel();
    m_pending = LoadPictureFromUrl(m_nam, QUrl(address), this, [this](const QImage &picture) {
        const QImage shown = StretchOnWhite(picture, m_box.size());
        if (shown.isNull())
            m_box.clear();
        else
            m_box.setPixmap(QPixmap::fromImage(shown));
        Q_EMIT previewLanded(!shown.isNull());
    });
}

} // namespace albivex
