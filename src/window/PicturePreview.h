#pragma once

#include <QObject>
#include <QPointer>

class QLabel;
class QNetworkAccessManager;

namespace albivex {

class PictureLoader;

// The preview box: shows the picture at an address, stretched to the box,
// transparent parts white. Only the latest request may land: an earlier one still
// on its way is dropped. A picture that cannot be loaded leaves the box empty. QQ's
// http picture addresses are asked over https, with the plain address as the
// cookie-less fallback, as picture transfers do.
class PicturePreview : public QObject
{
    Q_OBJECT
public:
    // With the services redirected to a root of their own, addresses keep their scheme
    // (see SecurePictureAddress).
    PicturePreview(QNetworkAccessManager &nam, QLabel &box, bool servicesRedirected,
                   QObject *parent = nullptr);
    ~PicturePreview() override;

    void showPreview(const QString &address);

Q_SIGNALS:
    // After the box changed for the latest request; `shown` is false when it became
    // empty.
    void previewLanded(bool shown);

private:
    QNetworkAccessManager &m_nam;
    QLabel &m_box;
    const bool m_servicesRedirected;
    QPointer<PictureLoader> m_pending;
};

} // namespace albivex
