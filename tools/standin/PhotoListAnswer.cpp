#include "standin/PhotoListAnswer.h"

#include "standin/AlbumListAnswer.h"
#include "standin/AnswerText.h"
#include "standin/ErrorAnswer.h"

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

QString PhotoListAnswer::page(const QString &callback, const QString &root, const QString &owner,
                              const AlbumInfo &album, const DataSet &data, int pageStart, int pageNum)
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
    text.reserve(text.size() + count * 700);
    for (int position = first; position < first + count; ++position) {
        const int n = album.keyAt(position);
        const PictureMeta meta = data.pictureMeta(album, n);
        const PictureRecipe recipe = data.pictureRecipe(album, PictureVariant::High, n);
        text += QLatin1String("         {\n")
            + f(12, "batchId", AnswerText::quoted(QString::number(album.createTime)))
            + f(12, "desc", AnswerText::quoted(meta.wireDesc))
            + f(12, "height", QString::number(recipe.height))
            + f(12, "lloc", AnswerText::quoted(album.id + QLatin1Char('_') + QString::number(n)))
            + f(12, "modifytime", QString::number(album.createTime))
            + f(12, "name", AnswerText::quoted(meta.name)) + f(12, "owner", AnswerText::quoted(owner))
            + f(12, "phototype", album.png ? QStringLiteral("3") : QStringLiteral("1"))
            + f(12, "pre", AnswerText::escapedUrl(root, picturePath(album, PictureVariant::Normal, n)))
            + f(12, "uploadtime", AnswerText::quoted(meta.uploadTime))
            + f(12, "url", AnswerText::escapedUrl(root, picturePath(album, PictureVariant::High, n)))
            + QLatin1String("            \"width\" : ") + QString::number(recipe.width)
            + QLatin1String("\n         },\n");
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
