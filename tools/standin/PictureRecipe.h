#pragma once

#include <QByteArray>
#include <QString>

namespace albivex::standin {

// Everything that decides the bytes of one generated picture.
struct PictureRecipe
{
    // Heic: the JPEG image carried in a HEIC container (IsoMediaMaker::heic).
    enum class Format { Jpeg, Png, Webp, Heic };

    Format format = Format::Jpeg;
    int width = 64;
    int height = 48;
    quint32 seed = 1;
    int noise = 8; // amplitude of the per-pixel noise; more noise, larger files
    int quality = 85; // JPEG quality
    qint64 padTo = 0; // JPEG only: stretched to this many bytes when larger than the image

    bool isPng() const { return format == Format::Png; }
    bool isJpeg() const { return format == Format::Jpeg; }
    QString extension() const
    {
        static const char *const extensions[] = {"jpg", "png", "webp", "heic"};
        return QLatin1String(extensions[int(format)]);
    }
    QByteArray contentType() const
    {
        static const char *const types[] = {"image/jpeg", "image/png", "image/webp", "image/heic"};
        return types[int(format)];
    }
    // Identifies the encoded image (padding excluded), for caching.
    QString imageKey() const
    {
        return QStringLiteral("%1:%2x%3:%4:%5:%6")
            .arg(int(format))
            .arg(width)
            .arg(height)
            .arg(seed)
            .arg(noise)
            .arg(quality);
    }
};

} // namespace albivex::standin
