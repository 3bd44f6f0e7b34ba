// ParseAlbumList reads the album-list answer of the service album by album.

#include "FuzzSupport.h"
#include "qzone/AlbumListParser.h"
#include "qzone/CutRule.h"
#include "qzone/ListItems.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckAnswer(const QString &answer)
{
    static const QLocale china(QLocale::Chinese, QLocale::China);
    const QList<AlbumEntry> albums = ParseAlbumList(answer, china);
    const QList<ListItem> items = ReadListItems(answer, {u"albumListModeSort", u"albumList"});
    Require(albums.size() == items.size(), "one row per item of the lists, never more",
            QStringLiteral("%1 rows, %2 items").arg(albums.size()).arg(items.size()));
    Require(ListsNoAlbum(answer) == albums.isEmpty(), "the quick look agrees with the whole read");

    for (qsizetype k = 0; k < albums.size(); ++k) {
        const AlbumEntry &album = albums.at(k);
        const ListItem &item = items.at(k);
        Require(album.position == k + 1, "rows are numbered from 1 in answer order");
        Require(!album.albumId.contains(QLatin1Char('"')) && !album.albumId.contains(QLatin1Char(',')),
                "a value holds no quote and no comma");
        Require(album.albumId.isEmpty() || item.find(u"id"), "an id comes from the album's own item");
        Require(album.coverUrl.isEmpty() || item.find(u"pre"), "a cover comes from the album's own item");
        Require(album.downloadState.isEmpty() && !album.isChecked, "a listed row is unchecked and idle");
        Require(album.priv == 0 || item.find(u"priv"), "priv comes from its key");
        Require(album.question.isEmpty() || item.find(u"question"), "a question comes from its key");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnswer(Utf8Text(data, size));
    CheckAnswer(Utf16Text(data, size));
    return 0;
}
