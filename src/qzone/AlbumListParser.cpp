#include "qzone/AlbumListParser.h"

#include "qzone/CutRule.h"
#include "qzone/LocaleText.h"
#include "qzone/UnescapeUnicode.h"

#include <QDateTime>

namespace albivex {

namespace {

constexpr qint64 ChinaOffsetSeconds = 8 * 3600;

// Beyond this the seconds do not fit the calendar QDateTime handles comfortably, and
// no album was made then.
constexpr qint64 MaxAbsSeconds = 200'000LL * 365 * 24 * 3600;

QString CoverUrl(QString value)
{
    value.replace(QLatin1String("\\/"), QLatin1String("/"));
    value.replace(QLatin1String("/a/"), QLatin1String("/m/"));
    return value;
}

QString Description(QString value)
{
    value.replace(QLatin1String("\\n"), QLatin1String(" "));
    value.remove(QLatin1String("\\/"));
    return value;
}

// priv and question lie between the album's createtime and the next album's; only
// an album with a question has that key, so the k-th question may be another album's.
void ReadAccess(QStringView span, AlbumEntry &album)
{
    const QString privMarker = KeyMarker(u"priv");
    const qsizetype priv = span.indexOf(privMarker);
    if (priv >= 0)
        album.priv = ScalarPieceValue(span.sliced(priv + privMarker.size())).toInt();
    const QString questionMarker = KeyMarker(u"question");
    const qsizetype question = span.indexOf(questionMarker);
    if (question >= 0) {
        // Read whole, commas and all, and with the escapes of a quoted text decoded:
        // the service compares it with its own text.
        QString text = ScalarPieceValue(span.sliced(question + questionMarker.size()));
        text.replace(QLatin1String("\\\""), QLatin1String("\""));
        text.replace(QLatin1String("\\/"), QLatin1String("/"));
        album.question = UnescapeUnicode(text);
    }
}

} // namespace

QString CreatedText(const QString &secondsText, const QLocale &locale)
{
    bool ok = false;
    const qint64 seconds = secondsText.trimmed().toLongLong(&ok);
    if (!ok || seconds > MaxAbsSeconds || seconds < -MaxAbsSeconds)
        return QString();
    // Computed in UTC so that the machine's own zone and its daylight-saving rules
    // never shift the fixed UTC+8 wall-clock time.
    const QDateTime epoch(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime at = epoch.addSecs(seconds + ChinaOffsetSeconds);
    if (!at.isValid())
        return QString();
    return DateTimeText(at, locale);
}

QList<AlbumEntry> ParseAlbumList(const QString &answer, const QLocale &locale)
{
    const qsizetype count = CountOccurrences(answer, u"createtime");
    QList<AlbumEntry> albums;
    if (count == 0)
        return albums;

    enum Key { CreateTime, Desc, Id, Name, Pre, Total, AllowAccess };
    const QList<QList<QStringView>> pieces
        = CutPiecesOfKeys(answer, {u"createtime", u"desc", u"id", u"name", u"pre", u"total", u"allowAccess"});
    const auto value = [&](Key key, qsizetype k) {
        const QList<QStringView> &list = pieces.at(key);
        return k < list.size() ? PieceValue(list.at(k)) : QString();
    };

    albums.reserve(count);
    for (qsizetype k = 0; k < count; ++k) {
        AlbumEntry album;
        album.position = static_cast<int>(k + 1);
        const QList<QStringView> &namePieces = pieces.at(Name);
        if (k < namePieces.size()) {
            const QStringView piece = namePieces.at(k);
            album.name = PieceValue(piece);
            if (piece.contains(QLatin1String("\\u")))
                album.name = UnescapeUnicode(album.name);
        }
        album.createdText = CreatedText(value(CreateTime, k), locale);
        album.pictureCount = value(Total, k);
        album.albumId = value(Id, k);
        album.coverUrl = CoverUrl(value(Pre, k));
        album.description = Description(value(Desc, k));
        if (k < pieces.at(CreateTime).size())
            ReadAccess(pieces.at(CreateTime).at(k), album);
        album.allowAccess = value(AllowAccess, k).trimmed() != QLatin1String("0");
        albums.append(album);
    }
    return albums;
}

int AlbumsInUser(QStringView answer)
{
    return FirstCount(answer, u"albumsInUser");
}

} // namespace albivex
