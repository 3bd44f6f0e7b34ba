#include "window/PicturePreview.h"

#include "network/CookieRestriction.h"
#include "network/PictureLoader.h"
#include "qzone/PictureAddress.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QPixmap>

namespace albivex {

PicturePreview::PicturePreview(QNetworkAccessManager &nam, QLabel &box, bool servicesRedirected,
                               QObject *parent)
    : QObject(parent), m_nam(nam), m_box(box), m_servicesRedirected(servicesRedirected)
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
    const PictureAddress where = SecurePictureAddress(address, m_servicesRedirected);
    m_pending = LoadPictureFromUrl(m_nam, where.url, this, [this](const QImage &picture) {
        const QImage shown = StretchOnWhite(picture, m_box.size());
        if (shown.isNull())
            m_box.clear();
        else
            m_box.setPixmap(QPixmap::fromImage(shown));
        Q_EMIT previewLanded(!shown.isNull());
    });
    if (!where.plainFallback.isEmpty()) {
        QNetworkRequest fallback(where.plainFallback);
        RestrictCookies(fallback, m_nam.cookieJar(), PhotoKeyCookie);
        m_pending->setFallback(fallback);
    }
}

} // namespace albivex
