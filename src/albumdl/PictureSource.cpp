#include "albumdl/PictureSource.h"

#include "qzone/OriginalAddress.h"

namespace albivex {

bool NeedsFloatview(const PhotoEntry &photo, PictureQuality quality)
{
    if (photo.isVideo)
        return true;
    return quality == PictureQuality::Original && OriginalAddress(photo).isEmpty()
        && (photo.rawUpload || photo.originUpload);
}

PictureSource ChoosePictureSource(const PhotoEntry &photo, PictureQuality quality,
                                  const FloatviewPhoto *viewed)
{
    using Kind = PictureSource::Kind;
    if (photo.isVideo) {
        if (!viewed)
            return {Kind::Unknown, QString(), false};
        const QString address = viewed->videoAddress();
        if (viewed->videoStatus == 2 && !address.isEmpty())
            return {Kind::Video, address, false};
        return {Kind::UntranscodedVideo, QString(), false};
    }
    if (quality == PictureQuality::Original) {
        QString original = OriginalAddress(photo);
        if (original.isEmpty() && viewed)
            original = viewed->raw;
        if (!original.isEmpty())
            return {Kind::Original, original, false};
        return {Kind::Listed, photo.url, true};
    }
    return {Kind::Listed, QualityAddress(photo.url, quality), false};
}

QByteArray VideoReferer(const QString &ownerUin)
{
    return QByteArrayLiteral("https://user.qzone.qq.com/") + ownerUin.toUtf8()
        + QByteArrayLiteral("/infocenter");
}

} // namespace albivex
