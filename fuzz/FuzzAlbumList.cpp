// ParseAlbumList and the cut rules it stands on read the album-list answer of the
// service as plain text.

#include "FuzzSupport.h"
#include "qzone/AlbumListParser.h"
#include "qzone/CutRule.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

const QList<QStringView> Keys = {u"createtime", u"desc", u"id", u"name", u"pre", u"total"};

void CheckAnswer(const QString &answer)
{
    static const QLocale china(QLocale::Chinese, QLocale::China);
    const QList<AlbumEntry> albums = ParseAlbumList(answer, china);
    const qsizetype count = CountOccurrences(answer, u"createtime");
    Require(albums.size() == count, "one row per occurrence of createtime, never more",
            QStringLiteral("%1 rows, %2 occurrences").arg(albums.size()).arg(count));

    // The one-pass cut of several keys gives the same pieces, at the same places, as
    // one cut per key.
    const QList<QList<QStringView>> together = CutPiecesOfKeys(answer, Keys);
    Require(together.size() == Keys.size(), "one piece list per key");
    for (qsizetype j = 0; j < Keys.size(); ++j) {
        const QList<QStringView> alone = CutPieces(answer, Keys.at(j));
        Require(together.at(j).size() == alone.size(), "one-pass cut finds every marker of a key",
                Keys.at(j).toString());
        Require(alone.size() == CountKey(answer, Keys.at(j)), "a piece per marker", Keys.at(j).toString());
        for (qsizetype i = 0; i < alone.size(); ++i) {
            Require(together.at(j).at(i).data() == alone.at(i).data()
                        && together.at(j).at(i).size() == alone.at(i).size(),
                    "one-pass cut gives the same piece", Keys.at(j).toString());
        }
    }

    const bool anyPriv = answer.contains(KeyMarker(u"priv"));
    const bool anyQuestion = answer.contains(KeyMarker(u"question"));
    const QStringList ids = CutValues(answer, u"id");
    const QStringList totals = CutValues(answer, u"total");
    for (qsizetype k = 0; k < albums.size(); ++k) {
        const AlbumEntry &album = albums.at(k);
        Require(album.position == k + 1, "rows are numbered from 1 in answer order");
        Require(album.albumId == ids.value(k), "album k takes the k-th id, or none");
        Require(album.pictureCount == totals.value(k), "album k takes the k-th total, or none");
        Require(!album.albumId.contains(QLatin1Char('"')) && !album.albumId.contains(QLatin1Char(',')),
                "a value holds no quote and no comma");
        Require(album.downloadState.isEmpty() && !album.isChecked, "a listed row is unchecked and idle");
        Require(album.priv == 0 || anyPriv, "priv comes from its key");
        Require(album.question.isEmpty() || anyQuestion, "a question comes from its key");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnswer(Utf8Text(data, size));
    CheckAnswer(Utf16Text(data, size));
    return 0;
}
