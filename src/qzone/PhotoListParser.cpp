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

enum Key {
    Name,
    UploadTime,
    Desc,
    Url,
    Lloc,
    Raw,
    RawUpload,
    OriginUrl,
    OriginUpload,
    IsVideo,
    Width,
    Height,
    ShootTime,
    Place,
    CameraType,
    Exif,
    Comments,
    KeyCount
};

constexpr QStringView Keys[KeyCount] = {
    u"name",         u"uploadtime", u"desc",          u"url",      u"lloc",     u"raw",
    u"raw_upload",   u"origin_url", u"origin_upload", u"is_video", u"width",    u"height",
    u"rawshoottime", u"poiName",    u"cameratype",    u"exif",     u"cmtTotal",
};

QString Address(const ItemField *field)
{
    QString value = FieldValue(field);
    value.replace(QLatin1String("\\/"), QLatin1String("/"));
    return value;
}

// The field's text without surrounding blanks; a blank one ("cameratype": " ", as most
// pictures give it) costs no allocation.
QString TrimmedFieldText(const ItemField *field)
{
    if (!field)
        return QString();
    if (!field->quoted || !field->token.contains(QLatin1Char('\\'))) {
        const QStringView text = field->token.trimmed();
        // Most pictures give "rawshoottime": 0; a literal costs no allocation.
        return text == u"0" ? QStringLiteral("0") : text.toString();
    }
    return FieldText(field).trimmed();
}

QList<QPair<QString, QString>> ExifValues(const ItemField *exif)
{
    QList<QPair<QString, QString>> values;
    if (!exif || !exif->token.startsWith(QLatin1Char('{')))
        return values;
    for (const ItemField &field : ReadBlockFields(exif->token).fields) {
        const QString value = TrimmedFieldText(&field);
        if (!value.isEmpty())
            values.append({field.key.toString(), value});
    }
    return values;
}

PhotoEntry ReadPhoto(const ListItem &item, int number)
{
    const ItemField *f[KeyCount];
    item.findAll(Keys, KeyCount, f);
    PhotoEntry photo;
    photo.number = number;
    QString name = FieldValue(f[Name]);
    photo.fullName = FieldTextLike(f[Name], name);
    photo.name = UnescapeUnicode(std::move(name));
    photo.uploadTime = FieldValue(f[UploadTime]);
    // The whole text is taken before the shown one is changed in place, so that the
    // two share one copy when the answer's text needs no decoding.
    photo.description = FieldValue(f[Desc]);
    photo.fullDescription = FieldTextLike(f[Desc], photo.description);
    photo.description.remove(QLatin1String("\\/"));
    photo.description = UnescapeUnicode(std::move(photo.description));
    photo.url = Address(f[Url]);
    photo.lloc = FieldValue(f[Lloc]);
    photo.raw = Address(f[Raw]);
    photo.rawUpload = f[RawUpload] && IsSetFlag(f[RawUpload]->piece);
    photo.originUrl = Address(f[OriginUrl]);
    photo.originUpload = f[OriginUpload] && IsSetFlag(f[OriginUpload]->piece);
    photo.isVideo = f[IsVideo] && IsSetFlag(f[IsVideo]->piece);
    photo.width = f[Width] ? PieceNumber(f[Width]->piece) : 0;
    photo.height = f[Height] ? PieceNumber(f[Height]->piece) : 0;

    photo.shootTime = TrimmedFieldText(f[ShootTime]);
    photo.place = TrimmedFieldText(f[Place]);
    photo.cameraType = TrimmedFieldText(f[CameraType]);
    photo.exif = ExifValues(f[Exif]);
    if (f[Comments]) {
        bool ok = false;
        const int count = ScalarPieceValue(f[Comments]->piece).toInt(&ok);
        if (ok && count >= 0)
            photo.commentCount = count;
    }
    return photo;
}

} // namespace

int CountPictures(QStringView answer)
{
    qsizetype items = 0;
    VisitListItems(answer, PhotoListKeys(), [&items](const ListItem &) {
        ++items;
        return true;
    });
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
    QList<PhotoEntry> photos;
    // Room for as many pictures as the answer could hold (each takes some hundreds of
    // characters), so that a long list is never moved as it grows; room not used is
    // never touched and costs no memory.
    photos.reserve(qMin<qsizetype>(answer.size() / 256 + 1, 1 << 20));
    VisitListItems(answer, PhotoListKeys(), [&](const ListItem &item) {
        photos.append(ReadPhoto(item, firstNumber + static_cast<int>(photos.size())));
        return true;
    });
    return photos;
}

} // namespace albivex
