#include "standin/PhotoListAnswer.h"

#include "standin/AlbumListAnswer.h"
#include "standin/AnswerText.h"
#include "standin/ErrorAnswer.h"
#include "standin/StandinData.h"

namespace albivex::standin {

QString PhotoListAnswer::picturePath(const AlbumInfo &album, PictureVariant variant, int key)
{
    if (variant == PictureVariant::Cover)
        return AlbumListAnswer::coverPath(album);
    return QStringLiteral("/photo/%1/%2/%3.%4")
        .arg(variant == PictureVariant::High ? QLatin1Char('b') : QLatin1Char('c'))
        .arg(album.id)
        .arg(key)
        .arg(album.extension());
}

QMap<QString, QString> PhotoListAnswer::pictureFields(const QString &root, const AlbumInfo &album,
                                                      const DataSet &data, int key, bool withRaw, bool today,
                                                      int formShift)
{
    static const QString videoForms[]
        = {QStringLiteral("true"), QStringLiteral("1"), QStringLiteral("\"1\"")};
    const PictureMeta meta = data.pictureMeta(album, key);
    const PictureRecipe recipe = data.pictureRecipe(album, PictureVariant::High, key);
    const auto address = [&root](const QString &path) {
        return path.isEmpty() ? QStringLiteral("\"\"") : AnswerText::escapedUrl(root, path);
    };
    const auto flag = [](bool set) {
        return set ? QStringLiteral("1") : QStringLiteral("0");
    };
    return {
        {QStringLiteral("desc"),
         AnswerText::quoted(today ? AnswerText::asciiEscaped(meta.wireDesc) : meta.wireDesc)},
        {QStringLiteral("height"), QString::number(recipe.height)},
        {QStringLiteral("is_video"),
         meta.video ? videoForms[(meta.videoNumber + formShift) % 3] : flag(false)},
        {QStringLiteral("lloc"), AnswerText::quoted(album.id + QLatin1Char('_') + QString::number(key))},
        {QStringLiteral("name"), AnswerText::quoted(today ? AnswerText::asciiEscaped(meta.name) : meta.name)},
        {QStringLiteral("origin_upload"), flag(meta.originUpload)},
        {QStringLiteral("origin_url"), address(meta.originPath)},
        {QStringLiteral("raw"), address(withRaw ? meta.rawPath : QString())},
        {QStringLiteral("raw_upload"), flag(meta.rawUpload)},
        {QStringLiteral("uploadtime"), AnswerText::quoted(meta.uploadTime)},
        {QStringLiteral("url"), address(picturePath(album, PictureVariant::High, key))},
        {QStringLiteral("width"), QString::number(recipe.width)},
    };
}

void PhotoListAnswer::addShotFields(QMap<QString, QString> &fields, const PictureMeta &meta, bool today)
{
    const auto text = [today](const QString &plain) {
        return AnswerText::quoted(today ? AnswerText::asciiEscaped(plain) : plain);
    };
    if (!meta.shootTime.isEmpty())
        fields.insert(QStringLiteral("rawshoottime"), AnswerText::quoted(meta.shootTime));
    if (!meta.place.isEmpty())
        fields.insert(QStringLiteral("poiName"), text(meta.place));
    if (!meta.cameraType.isEmpty())
        fields.insert(QStringLiteral("cameratype"), text(meta.cameraType));
    if (meta.commentCount >= 0)
        fields.insert(QStringLiteral("cmtTotal"), QString::number(meta.commentCount));
    if (meta.hasExif) {
        QList<QPair<QString, QString>> exif;
        for (const auto &[key, value] : meta.exif)
            exif.append({key, text(value)});
        // The block opens on the key's line and closes at the picture's field indent.
        fields.insert(QStringLiteral("exif"), AnswerText::object(12, exif).mid(12));
    }
}

QString PhotoListAnswer::page(const QString &callback, const QString &root, const QString &owner,
                              const AlbumInfo &album, const DataSet &data, int pageStart, int pageNum,
                              bool today)
{
    const int first = qBound(0, pageStart, album.total);
    const int count = qBound(0, pageNum, album.total - first);
    const auto f = [](int indent, const char *key, const QString &value) {
        return AnswerText::field(indent, QLatin1String(key), value);
    };
    QString text = callback + QLatin1String("({\n") + f(3, "code", QStringLiteral("0"))
        + f(3, "subcode", QStringLiteral("0")) + f(3, "message", QStringLiteral("\"\""))
        + f(3, "default", QStringLiteral("0")) + QLatin1String("   \"data\" : {\n      \"topic\" : {\n")
        + f(9, "bitmap", QStringLiteral("\"10000000\"")) + f(9, "id", AnswerText::quoted(album.id))
        + f(9, "pre", AnswerText::escapedUrl(root, AlbumListAnswer::coverPath(album)))
        + f(9, "total", QString::number(album.total)) + QLatin1String("         \"viewtype\" : 0\n      },\n")
        + f(6, "limit", QStringLiteral("0")) + f(6, "pageStart", QString::number(first))
        + f(6, "pageNum", QString::number(count)) + f(6, "totalInAlbum", QString::number(album.total))
        + f(6, "totalInPage", QString::number(count)) + QLatin1String("      \"photoList\" : [\n");
    text.reserve(text.size() + count * 1000);
    const bool ownSpace = album.ownerUin.isEmpty();
    for (int position = first; position < first + count; ++position) {
        const int key = album.keyAt(position);
        QMap<QString, QString> fields = pictureFields(root, album, data, key, ownSpace, today, 0);
        fields.insert(QStringLiteral("batchId"), AnswerText::quoted(QString::number(album.createTime)));
        addShotFields(fields, data.pictureMeta(album, key), today);
        fields.insert(QStringLiteral("modifytime"), QString::number(album.createTime));
        fields.insert(QStringLiteral("owner"), AnswerText::quoted(owner));
        fields.insert(QStringLiteral("phototype"), album.png ? QStringLiteral("3") : QStringLiteral("1"));
        fields.insert(QStringLiteral("pre"),
                      AnswerText::escapedUrl(root, picturePath(album, PictureVariant::Normal, key)));
        if (today && album.id == QLatin1String(EscapedAlbum.id) && key == 1) {
            // Reported of the real service: a picture without any of the original's keys.
            for (const char *absent : {"raw", "raw_upload", "origin_url", "origin_upload"})
                fields.remove(QLatin1String(absent));
        }
        text += AnswerText::object(9, fields) + QLatin1String(",\n");
    }
    if (count > 0)
        text.chop(2);
    text += QLatin1String("\n      ]\n   }\n});\n");
    return text;
}

QString PhotoListAnswer::albumMissing(const QString &callback)
{
    return ErrorAnswer::of(callback, ErrorAnswer::AlbumMissing);
}

} // namespace albivex::standin
