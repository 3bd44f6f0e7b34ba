// CountPictures, ParsePhotoList and TotalInAlbum read one page of the photo-list
// answer of the service picture by picture.

#include "FuzzSupport.h"
#include "qzone/CutRule.h"
#include "qzone/ListItems.h"
#include "qzone/PhotoListParser.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckAnswer(const QString &answer)
{
    const int count = CountPictures(answer);
    Require(count >= 0, "the picture count is never negative");
    Require(ListsNoPicture(answer) == (count == 0), "the quick look agrees with the count");

    const QList<PhotoEntry> photos = ParsePhotoList(answer);
    const QList<ListItem> items = ReadListItems(answer, {u"photoList"});
    Require(photos.size() == count && items.size() == count, "one row per item of the list, never more",
            QStringLiteral("%1 rows, %2 counted").arg(photos.size()).arg(count));
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const PhotoEntry &photo = photos.at(i);
        const ListItem &item = items.at(i);
        Require(photo.number == i + 1, "pictures are numbered from firstNumber");
        Require(photo.lloc.isEmpty() || item.find(u"lloc"), "a key comes from the picture's own item");
        Require(photo.url.isEmpty() || item.find(u"url"), "an address comes from the picture's own item");
        Require(photo.name.isEmpty() || item.find(u"name"), "a name comes from the picture's own item");
        Require(!photo.lloc.contains(QLatin1Char('"')) && !photo.lloc.contains(QLatin1Char(',')),
                "a value holds no quote and no comma");
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
