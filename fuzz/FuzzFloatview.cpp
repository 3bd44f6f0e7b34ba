// ParseFloatview reads the floatview answer as plain text: which photos it lists, and
// for each its original and its video, never another photo's.

#include "FuzzSupport.h"
#include "qzone/CutRule.h"
#include "qzone/FloatviewParser.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckAnswer(const QString &answer)
{
    const QList<FloatviewPhoto> photos = ParseFloatview(answer);
    const QList<QStringView> keys = CutPieces(answer, u"picKey");
    Require(photos.size() <= keys.size(), "never more photos than picKey markers",
            QStringLiteral("%1 photos, %2 markers").arg(photos.size()).arg(keys.size()));
    const bool anyVideoInfo = answer.contains(KeyMarker(u"video_info"));
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const FloatviewPhoto &photo = photos.at(i);
        // Each photo's key is read at its own marker; a span may end inside it.
        Require(ScalarPieceValue(keys.at(i)).startsWith(photo.picKey),
                "photo i's key comes from the i-th marker");
        Require(anyVideoInfo
                    || (photo.videoStatus == 0 && photo.downloadUrl.isEmpty() && photo.videoUrl.isEmpty()),
                "video fields come from a video_info");
        Require(photo.videoAddress().isEmpty() == (photo.downloadUrl.isEmpty() && photo.videoUrl.isEmpty()),
                "a video address is one of the two given");
        Require(!photo.isVideo || answer.contains(KeyMarker(u"is_video")), "a video is marked so");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnswer(Utf8Text(data, size));
    CheckAnswer(Utf16Text(data, size));
    return 0;
}
