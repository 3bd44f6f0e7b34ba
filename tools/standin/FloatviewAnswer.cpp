#include "standin/FloatviewAnswer.h"

#include "standin/AnswerText.h"
#include "standin/PhotoListAnswer.h"

namespace albivex::standin {

namespace {

QString videoInfo(const QString &root, const QString &coverUrl, const PictureMeta &meta)
{
    const auto address = [&root](const QString &path) {
        return path.isEmpty() ? QStringLiteral("\"\"") : AnswerText::escapedUrl(root, path);
    };
    return QStringLiteral(
               "{ \"cover_url\" : %1, \"download_url\" : %2, \"status\" : %3, \"video_url\" : %4 }")
        .arg(coverUrl, address(meta.downloadPath), QString::number(meta.videoStatus), address(meta.playPath));
}

} // namespace

QString FloatviewAnswer::photos(const QString &callback, const QString &root, const AlbumInfo &album,
                                const DataSet &data, int position, int prevNum, int postNum, bool today)
{
    const int before = qBound(0, prevNum, qMin(position, MaxPhotos - 1));
    const int after = qBound(0, postNum, qMin(album.total - 1 - position, MaxPhotos - 1 - before));
    QString text = callback + QLatin1String("({\n")
        + AnswerText::field(3, QStringLiteral("code"), QStringLiteral("0"))
        + QLatin1String("   \"data\" : {\n      \"photos\" : [\n");
    for (int at = position - before; at <= position + after; ++at) {
        const int key = album.keyAt(at);
        QMap<QString, QString> fields
            = PhotoListAnswer::pictureFields(root, album, data, key, true, today, 1);
        fields.insert(QStringLiteral("picKey"), fields.value(QStringLiteral("lloc")));
        const PictureMeta meta = data.pictureMeta(album, key);
        if (meta.video)
            fields.insert(QStringLiteral("video_info"),
                          videoInfo(root, fields.value(QStringLiteral("url")), meta));
        text += AnswerText::object(9, fields) + QLatin1String(",\n");
    }
    text.chop(2);
    return text + QLatin1String("\n      ],\n")
        + AnswerText::field(6, QStringLiteral("picPosInPage"), QString::number(before))
        + QLatin1String("      \"picTotal\" : ") + QString::number(album.total) + QLatin1String("\n   },\n")
        + AnswerText::field(3, QStringLiteral("message"), QStringLiteral("\"\""))
        + QLatin1String("   \"subcode\" : 0\n});\n");
}

} // namespace albivex::standin
