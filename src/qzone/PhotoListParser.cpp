#include "qzone/PhotoListParser.h"

#include "qzone/CutRule.h"
#include "qzone/ListItems.h"
#include "qzone/UnescapeUnicode.h"

#include <limits>

namespace albivex {

namespace {

const QList<QStringView> &PhotoListKeys()
{
    static const QList<QStringView> keys {u"photoList"};
    return keys;
}

QString Address(const ListItem &item, QStringView key)
{
    QString value = item.value(key);
    value.replace(QLatin1String("\\/"), QLatin1String("/"));
    return value;
}

int Number(const ListItem &item, QStringView key)
{
    const ItemField *field = item.find(key);
    return field ? PieceNumber(field->piece) : 0;
}

bool Flag(const ListItem &item, QStringView key)
{
    const ItemField *field = item.find(key);
    return field && IsSetFlag(field->piece);
}

QList<QPair<QString, QString>> ExifValues(const ListItem &item)
{
    QList<QPair<QString, QString>> values;
    const ItemField *exif = item.find(u"exif");
    if (!exif || !exif->token.startsWith(QLatin1Char('{')))
        return values;
    for (const ItemField &field : ReadBlockFields(exif->token).fields) {
        const QString value = (field.quoted ? DecodeJsonText(field.token) : field.token.toString()).trimmed();
        if (!value.isEmpty())
            values.append({field.key.toString(), value});
    }
    return values;
}

PhotoEntry ReadPhoto(const ListItem &item, int number)
{
    PhotoEntry photo;
    photo.number = number;
    photo.name = UnescapeUnicode(item.value(u"name"));
    photo.uploadTime = item.value(u"uploadtime");
    photo.description = item.value(u"desc");
    photo.description.remove(QLatin1String("\\/"));
    photo.description = UnescapeUnicode(photo.description);
    photo.url = Address(item, u"url");
    photo.lloc = item.value(u"lloc");
    photo.raw = Address(item, u"raw");
    photo.rawUpload = Flag(item, u"raw_upload");
    photo.originUrl = Address(item, u"origin_url");
    photo.originUpload = Flag(item, u"origin_upload");
    photo.isVideo = Flag(item, u"is_video");
    photo.width = Number(item, u"width");
    photo.height = Number(item, u"height");

    photo.fullName = item.text(u"name");
    photo.fullDescription = item.text(u"desc");
    photo.shootTime = item.text(u"rawshoottime").trimmed();
    photo.place = item.text(u"poiName").trimmed();
    photo.cameraType = item.text(u"cameratype").trimmed();
    photo.exif = ExifValues(item);
    if (const ItemField *comments = item.find(u"cmtTotal")) {
        bool ok = false;
        const int count = ScalarPieceValue(comments->piece).toInt(&ok);
        if (ok && count >= 0)
            photo.commentCount = count;
    }
    return photo;
}

} // namespace

int CountPictures(QStringView answer)
{
    const qsizetype items = ReadListItems(answer, PhotoListKeys()).size();
    return static_cast<int>(qMin<qsizetype>(items, std::numeric_limits<int>::max()));
}

bool ListsNoPicture(QStringView answer)
{
    return !HasListItem(answer, PhotoListKeys());
}

int TotalInAlbum(QStringView answer)
{
    return FirstCount(answer, u"totalInAlbum");
}

QList<PhotoEntry> ParsePhotoList(const QString &answer, int firstNumber)
{
    const QList<ListItem> items = ReadListItems(answer, PhotoListKeys());
    QList<PhotoEntry> photos;
    photos.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        photos.append(ReadPhoto(items.at(i), firstNumber + static_cast<int>(i)));
    return photos;
}

} // namespace albivex
