#pragma once

#include <QString>

namespace albivex::standin {

// Everything that decides the bytes of one generated picture.
struct PictureRecipe
{
    enum class Format { Jpeg, Png };

    Format format = Format::Jpeg;
    int width = 64;
    int height = 48;
    quint32 seed = 1;
    int noise = 8; // amplitude of the per-pixel noise; more noise, larger files
    int quality = 85; // JPEG quality
    qint64 padTo = 0; // JPEG only: stretched to this many bytes when larger than the image

    bool isPng() const { return format == Format::Png; }
    // Identifies the encoded image (padding excluded), for caching.
    QString imageKey() const
    {
        return QStringLiteral("%1:%2x%3:%4:%5:%6")
            .arg(isPng() ? 1 : 0)
            .arg(width)
            .arg(height)
            .arg(seed)
            .arg(noise)
            .arg(quality);
    }
};

} // namespace albivex::standin
