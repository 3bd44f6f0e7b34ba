#pragma once

#include "albumdl/PictureQuality.h"
#include "qzone/FloatviewPhoto.h"
#include "qzone/PhotoEntry.h"

#include <QString>

namespace albivex {

// What is fetched for one listed picture at one quality, and how it is saved.
struct PictureSource
{
    enum class Kind {
        Listed, // the listed picture (at the quality's size), saved as ".jpg"
        Original, // the picture as uploaded, named by its content's format
        Video, // the video file, saved as ".mp4", asked with the owner's Referer
        UntranscodedVideo, // a video the service has not made playable yet: nothing to fetch
        Unknown, // floatview was needed and did not tell (a failed answer): nothing to fetch
    };
    Kind kind = Kind::Listed;
    QString address;
    // Original was asked for and the listed picture is what there is.
    bool fellBack = false;
};

// Whether the floatview answer for the picture is needed before ChoosePictureSource can
// decide: for a video always; for an original that the listing does not give but says
// the picture has (other spaces list `raw` empty).
bool NeedsFloatview(const PhotoEntry &photo, PictureQuality quality);

// The decision for a picture; `viewed` is what floatview said of it (nullptr when it was
// not asked or did not hold it). Original: OriginalAddress, else floatview's raw, else
// the listed url (fellBack). Normal and High: QualityAddress of the url. A video is its
// floatview video_info whatever the quality: status 2 with an address is Video, any
// other status UntranscodedVideo, no floatview photo Unknown.
PictureSource ChoosePictureSource(const PhotoEntry &photo, PictureQuality quality,
                                  const FloatviewPhoto *viewed);

// The Referer a video of the space `ownerUin` is given with.
QByteArray VideoReferer(const QString &ownerUin);

} // namespace albivex
