#include "qzone/PhotoListParser.h"

#include "qzone/CutRule.h"
#include "qzone/ListItems.h"
#include "qzone/TextPool.h"
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
QString TrimmedFieldText(const ItemField *field, TextPool &shared)
{
    if (!field)
        return QString();
    if (!field->quoted || !field->token.contains(QLatin1Char('\\'))) {
        const QStringView text = field->token.trimmed();
        // Most pictures give "rawshoottime": 0; a literal costs not even a look-up.
        return text == u"0" ? QStringLiteral("0") : shared.of(text);
    }
    return shared.of(FieldText(field).trimmed());
}

QList<QPair<QString, QString>> ExifValues(const ItemField *exif, TextPool &shared)
{
    QList<QPair<QString, QString>> values;
    if (!exif || !exif->token.startsWith(QLatin1Char('{')))
        return values;
    const ListItem block = ReadBlockFields(exif->token);
    for (const ItemField &field : block.fields) {
        QString value = TrimmedFieldText(&field, shared);
        if (!value.isEmpty()) {
            if (values.isEmpty())
                values.reserve(block.fields.size());
            values.append({shared.of(field.key), std::move(value)});
        }
    }
    return values;
}

PhotoEntry ReadPhoto(const ListItem &item, int number, TextPool &shared)
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

    photo.shootTime = TrimmedFieldText(f[ShootTime], shared);
    photo.place = TrimmedFieldText(f[Place], shared);
    photo.cameraType = TrimmedFieldText(f[CameraType], shared);
    photo.exif = ExifValues(f[Exif], shared);
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
    TextPool shared;
    VisitListItems(answer, PhotoListKeys(), [&](const ListItem &item) {
        photos.append(ReadPhoto(item, firstNumber + static_cast<int>(photos.size()), shared));
        return true;
    });
    return photos;
}

} // namespace albivex
