#include "albumdl/PictureSource.h"

#include "qzone/OriginalAddress.h"
#include "storage/PictureTime.h"
#include "storage/SaveLayout.h"
#include "storage/UniqueFileNames.h"

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

QString TargetExtension(const PictureSource &source)
{
    return source.kind == PictureSource::Kind::Video ? QStringLiteral(".mp4") : QStringLiteral(".jpg");
}

int ExtensionRoom(const PictureSource &source)
{
    return source.kind == PictureSource::Kind::Original ? UniqueFileNames::MaxExtensionBytes
                                                        : int(Utf8Size(TargetExtension(source)));
}

PictureTransfer::Options TransferOptionsFor(const PictureSource &source, const PhotoEntry &photo,
                                            const QString &ownerUin, PictureTransfer::Options base)
{
    base.modifiedTime = PictureFileTime(photo);
    base.nameByContent = source.kind == PictureSource::Kind::Original;
    base.video = source.kind == PictureSource::Kind::Video;
    base.referer = base.video ? VideoReferer(ownerUin) : QByteArray();
    // The listed size is the listed picture's: a smaller copy asked for instead is not
    // held to it; the original is never smaller.
    const bool listedOrLarger = base.nameByContent || (!base.video && source.address == photo.url);
    base.listedSize = listedOrLarger ? QSize(photo.width, photo.height) : QSize();
    return base;
}

} // namespace albivex
