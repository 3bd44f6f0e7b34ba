#pragma once

#include "albumdl/PictureQuality.h"
#include "qzone/FloatviewPhoto.h"
#include "qzone/PhotoEntry.h"
#include "storage/PictureTransfer.h"

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

    // Whether there is anything to fetch: never another picture's address in its place.
    bool fetchable() const
    {
        return kind != Kind::UntranscodedVideo && kind != Kind::Unknown && !address.trimmed().isEmpty();
    }
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

// The extension the target path is given: ".mp4" for a video, else ".jpg" (an
// original's is replaced by its content's, see TransferOptionsFor).
QString TargetExtension(const PictureSource &source);
// Bytes the extension of the saved file may take at most, for UniqueFileNames::take.
int ExtensionRoom(const PictureSource &source);

// The options of the transfer of `source` for the listed `photo` of the space
// `ownerUin`, from `base`: PictureFileTime as the file's time (when it was taken,
// else uploaded); an original named by
// its content; a video checked as one and asked with its Referer; the listed size to
// hold the listed picture and the original to (not a smaller copy, not a video).
PictureTransfer::Options TransferOptionsFor(const PictureSource &source, const PhotoEntry &photo,
                                            const QString &ownerUin, PictureTransfer::Options base);

} // namespace albivex
