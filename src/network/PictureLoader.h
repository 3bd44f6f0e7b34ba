#pragma once

#include "network/BoundedReply.h"

#include <QImage>
#include <QNetworkRequest>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

// One picture fetched through the process's network manager (so it carries the
// sign-in cookies) and decoded in memory; nothing touches the disk. Owned by the
// caller's context object; deletes itself after it has reported.
class PictureLoader : public BoundedReply
{
    Q_OBJECT
public:
    static constexpr int DefaultIdleMs = 30000;
    // Larger answers are no picture the tool shows; they count as a failure.
    static constexpr qint64 DefaultMaxBytes = 64LL * 1024 * 1024;

    PictureLoader(QNetworkAccessManager &nam, const QUrl &url, QObject *parent, int idleMs = DefaultIdleMs,
                  qint64 maxBytes = DefaultMaxBytes);

    // When the connection to the address itself fails (no answer at all), `fallback`
    // is sent once instead. Set it right after construction.
    void setFallback(const QNetworkRequest &fallback) { m_fallback = fallback; }

Q_SIGNALS:
    // Exactly once, unless cancelled: the decoded picture, or a null image when the
    // address could not be fetched or its answer is no picture.
    void finished(const QImage &picture);

private:
    void report(bool ok, const QByteArray &body, const QByteArray &contentType) override;
    bool askElsewhere(const QNetworkReply &failed) override;

    QNetworkAccessManager &m_nam;
    const int m_idleMs;
    QNetworkRequest m_fallback; // sent once when its url is set
};

// Starts loading the picture at `url`; `done` runs once on the context's thread with
// the picture (null on any failure). The returned loader can be cancelled until then.
PictureLoader *LoadPictureFromUrl(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                                  std::function<void(const QImage &)> done,
                                  int idleMs = PictureLoader::DefaultIdleMs);

// Decodes picture bytes by their content (JPEG, PNG, GIF, BMP and the other formats
// the image plugins know); the first frame of an animation. Null when undecodable.
QImage DecodePicture(const QByteArray &bytes);

// The picture stretched to `size` (aspect ratio not kept) over a white ground, so
// that transparent parts show white.
QImage StretchOnWhite(const QImage &picture, const QSize &size);

} // namespace albivex
