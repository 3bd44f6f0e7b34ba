#include "qzone/OriginalAddress.h"

namespace albivex {

QString OriginalAddress(const PhotoEntry &photo)
{
    if (photo.rawUpload && !photo.raw.isEmpty())
        return photo.raw;
    if (photo.originUpload && !photo.originUrl.isEmpty())
        return photo.originUrl;
    return QString();
}

} // namespace albivex
