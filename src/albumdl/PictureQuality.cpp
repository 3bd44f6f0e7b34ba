#include "albumdl/PictureQuality.h"

namespace albivex {

QString QualityAddress(const QString &address, PictureQuality quality)
{
    if (quality == PictureQuality::High)
        return address;
    QString normal = address;
    normal.replace(QLatin1String("/b/"), QLatin1String("/c/"));
    return normal;
}

} // namespace albivex
