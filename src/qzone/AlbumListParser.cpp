#include "qzone/AlbumListParser.h"

#include "qzone/CutRule.h"
#include "qzone/ListItems.h"
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

const QList<QStringView> &AlbumListKeys()
{
    // The sorted view, the blocks of the class view, and the flat list of a space.
    static const QList<QStringView> keys {u"albumListModeSort", u"albumList"};
    return keys;
}

AlbumEntry ReadAlbum(const ListItem &item, int position, const QLocale &locale)
{
    AlbumEntry album;
    album.position = position;
    if (const ItemField *name = item.find(u"name")) {
        album.name = ItemValue(name->piece);
        if (name->piece.contains(QLatin1String("\\u")))
            album.name = UnescapeUnicode(std::move(album.name));
    }
    const QString createTime = item.value(u"createtime");
    album.createdText = CreatedText(createTime, locale);
    bool ok = false;
    const qint64 seconds = createTime.trimmed().toLongLong(&ok);
    if (ok)
        album.createTime = seconds;
    album.pictureCount = item.value(u"total");
    album.albumId = item.value(u"id");
    album.coverUrl = CoverUrl(item.value(u"pre"));
    album.description = Description(item.value(u"desc"));
    album.allowAccess = item.value(u"allowAccess").trimmed() != QLatin1String("0");
    if (const ItemField *priv = item.find(u"priv"))
        album.priv = ScalarPieceValue(priv->piece).toInt();
    if (const ItemField *question = item.find(u"question")) {
        // Read whole, commas and all, and with the escapes of a quoted text decoded:
        // the service compares it with its own text.
        QString text = ScalarPieceValue(question->piece);
        text.replace(QLatin1String("\\\""), QLatin1String("\""));
        text.replace(QLatin1String("\\/"), QLatin1String("/"));
        album.question = UnescapeUnicode(std::move(text));
    }
    album.fullName = item.text(u"name");
    album.fullDescription = item.text(u"desc");
    return album;
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
    QList<AlbumEntry> albums;
    VisitListItems(answer, AlbumListKeys(), [&](const ListItem &item) {
        albums.append(ReadAlbum(item, static_cast<int>(albums.size() + 1), locale));
        return true;
    });
    return albums;
}

bool ListsNoAlbum(QStringView answer)
{
    return !HasListItem(answer, AlbumListKeys());
}

int AlbumsInUser(QStringView answer)
{
    return FirstCount(answer, u"albumsInUser");
}

} // namespace albivex
