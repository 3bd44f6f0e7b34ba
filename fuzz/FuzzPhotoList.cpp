// CountPictures, ParsePhotoList and TotalInAlbum read one page of the photo-list
// answer of the service as plain text.

#include "FuzzSupport.h"
#include "qzone/CutRule.h"
#include "qzone/PhotoListParser.h"
#include "qzone/UnescapeUnicode.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckAnswer(const QString &answer)
{
    const int count = CountPictures(answer);
    Require(count >= 0, "the picture count is never negative");
    Require(count == qMax<qsizetype>(0, CountKey(answer, u"pre") - 1),
            "the album's own pre is not a picture");

    const QList<PhotoEntry> photos = ParsePhotoList(answer);
    Require(photos.size() == count, "one row per counted picture, never more",
            QStringLiteral("%1 rows, %2 counted").arg(photos.size()).arg(count));

    // The one-pass cut of the parser and a cut of the single key agree.
    const QStringList names = CutValues(answer, u"name");
    const QStringList times = CutValues(answer, u"uploadtime");
    const QStringList llocs = CutValues(answer, u"lloc");
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const PhotoEntry &photo = photos.at(i);
        Require(photo.number == i + 1, "pictures are numbered from firstNumber");
        Require(photo.name == UnescapeUnicode(names.value(i)), "picture i takes the i-th name, or none");
        Require(photo.lloc == llocs.value(i), "picture i takes the i-th lloc, or none");
        Require(photo.uploadTime == times.value(i), "picture i takes the i-th upload time, or none");
        Require(photo.status.isEmpty(), "a listed picture has no status");
    }

    const int total = TotalInAlbum(answer);
    Require(total >= -1, "the album total is a count or -1");
    if (total >= 0)
        Require(answer.contains(KeyMarker(u"totalInAlbum")), "a total comes from its key");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnswer(Utf8Text(data, size));
    CheckAnswer(Utf16Text(data, size));
    return 0;
}
