#include "standin/AlbumListAnswer.h"

#include "standin/AnswerText.h"
#include "standin/ErrorAnswer.h"
#include "standin/StandinData.h"

namespace albivex::standin {

QString AlbumListAnswer::coverPath(const AlbumInfo &album)
{
    return QStringLiteral("/photo/a/%1/cover.%2").arg(album.id, album.extension());
}

bool AlbumListAnswer::coverless(const AlbumInfo &album, bool today)
{
    return today && album.id == QLatin1String(DotsAlbum.id);
}

QString AlbumListAnswer::albumObject(const QString &root, const AlbumInfo &album, bool withCover)
{
    const QString time = QString::number(album.createTime);
    const QString modified = QString::number(album.createTime + 86400);
    return QLatin1String("         {\n")
        + AnswerText::field(12, QStringLiteral("allowAccess"),
                            album.allowAccess ? QStringLiteral("1") : QStringLiteral("0"))
        + AnswerText::field(12, QStringLiteral("anonymity"), QStringLiteral("0"))
        + AnswerText::field(12, QStringLiteral("createtime"), time)
        + AnswerText::field(12, QStringLiteral("desc"), AnswerText::quoted(album.wireDesc))
        + AnswerText::field(12, QStringLiteral("handset"), QStringLiteral("0"))
        + AnswerText::field(12, QStringLiteral("id"), AnswerText::quoted(album.id))
        + AnswerText::field(12, QStringLiteral("lastuploadtime"), modified)
        + AnswerText::field(12, QStringLiteral("modifytime"), modified)
        + AnswerText::field(12, QStringLiteral("name"), AnswerText::quoted(album.wireName))
        + AnswerText::field(12, QStringLiteral("order"), QStringLiteral("0"))
        + (withCover
               ? AnswerText::field(12, QStringLiteral("pre"), AnswerText::escapedUrl(root, coverPath(album)))
               : QString())
        + AnswerText::field(12, QStringLiteral("priv"), QString::number(album.priv))
        + (album.question.isEmpty()
               ? QString()
               : AnswerText::field(12, QStringLiteral("question"), AnswerText::quoted(album.question)))
        + AnswerText::field(12, QStringLiteral("total"), QString::number(album.total))
        + QLatin1String("            \"viewtype\" : 0\n         },\n");
}

QString AlbumListAnswer::list(const QString &callback, const QString &root, const QList<AlbumInfo> &albums,
                              std::optional<Paging> paging, bool today)
{
    QString text = callback + QLatin1String("({\n")
        + AnswerText::field(3, QStringLiteral("code"), QStringLiteral("0"))
        + AnswerText::field(3, QStringLiteral("subcode"), QStringLiteral("0"))
        + AnswerText::field(3, QStringLiteral("message"), QStringLiteral("\"\""))
        + AnswerText::field(3, QStringLiteral("default"), QStringLiteral("0"))
        + QLatin1String("   \"data\" : {\n      \"albumListModeSort\" : [\n");
    for (const AlbumInfo &album : albums)
        text += albumObject(root, album, !coverless(album, today));
    if (!albums.isEmpty())
        text.chop(2); // the last object's comma
    text += QLatin1String("\n      ],\n")
        + AnswerText::field(6, QStringLiteral("albumsInUser"),
                            QString::number(paging ? paging->albumsInUser : albums.size()));
    if (!paging)
        return text + QLatin1String("      \"mode\" : 2\n   }\n});\n");
    return text + AnswerText::field(6, QStringLiteral("mode"), QStringLiteral("2"))
        + AnswerText::field(6, QStringLiteral("nextPageStartModeSort"),
                            QString::number(paging->nextPageStart))
        + QLatin1String("      \"totalInPageModeSort\" : ") + QString::number(albums.size())
        + QLatin1String("\n   }\n});\n");
}

QString AlbumListAnswer::classView(const QString &callback, const QString &root,
                                   const QList<AlbumInfo> &albums)
{
    QString text = callback + QLatin1String("({\n")
        + AnswerText::field(3, QStringLiteral("code"), QStringLiteral("0"))
        + AnswerText::field(3, QStringLiteral("message"), QStringLiteral("\"\""))
        + QLatin1String("   \"data\" : {\n      \"albumListModeClass\" : [\n");
    QStringList blocks;
    for (qsizetype first = 0; first < albums.size(); first += 2) {
        QString block = QLatin1String("      {\n")
            + AnswerText::field(9, QStringLiteral("classId"), QString::number(first))
            + QLatin1String("         \"albumList\" : [\n");
        for (const AlbumInfo &album : albums.mid(first, 2))
            block += albumObject(root, album);
        block.chop(2);
        block += QLatin1String("\n         ],\n")
            + AnswerText::field(9, QStringLiteral("totalInClass"),
                                QString::number(albums.mid(first, 2).size()))
            + QLatin1String("         \"className\" : \"分类\"\n      }");
        blocks << block;
        if (first == 0)
            blocks << QStringLiteral("      {\n         \"albumList\" : null,\n         \"classId\" : 99,\n  "
                                     "       \"totalInClass\" : 0\n      }");
    }
    text += blocks.join(QLatin1String(",\n"));
    return text + QLatin1String("\n      ],\n")
        + AnswerText::field(6, QStringLiteral("albumsInUser"), QString::number(albums.size()))
        + QLatin1String("      \"mode\" : 1\n   }\n});\n");
}

QString AlbumListAnswer::notSignedIn(const QString &callback)
{
    return ErrorAnswer::of(callback, ErrorAnswer::NotSignedIn);
}

QString AlbumListAnswer::closedSpace(const QString &callback)
{
    return ErrorAnswer::of(callback, ErrorAnswer::ClosedSpace);
}

} // namespace albivex::standin
