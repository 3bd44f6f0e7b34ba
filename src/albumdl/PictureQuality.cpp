#include "albumdl/PictureQuality.h"

namespace albivex {

PictureQuality QualityOfBoxIndex(int index)
{
    switch (index) {
    case 0:
        return PictureQuality::Normal;
    case 2:
        return PictureQuality::Original;
    default:
        return PictureQuality::High;
    }
}

int BoxIndexOfQuality(PictureQuality quality)
{
    switch (quality) {
    case PictureQuality::Normal:
        return 0;
    case PictureQuality::Original:
        return 2;
    case PictureQuality::High:
        break;
    }
    return 1;
}

QString QualityAddress(const QString &address, PictureQuality quality)
{
    if (quality != PictureQuality::Normal)
        return address;
    QString normal = address;
    normal.replace(QLatin1String("/b/"), QLatin1String("/c/"));
    return normal;
}

} // namespace albivex
