#include "gallery/GalleryPages.h"

#include "gallery/GalleryLayout.h"

namespace albivex {

namespace {

// No script at all, addresses local files only; styles inline.
const char PageHead[] = R"(<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; img-src 'self' file:; media-src 'self' file:; style-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%1</title>
<style>
body { margin: 0; padding: 16px 24px; background: #f4f5f7; color: #222;
       font-family: "Microsoft YaHei", "PingFang SC", "Noto Sans CJK SC", sans-serif; }
header { margin-bottom: 16px; }
h1 { font-size: 22px; margin: 4px 0; }
a { color: #1a5fb4; text-decoration: none; }
.back { font-size: 14px; }
.about { white-space: pre-wrap; color: #555; margin: 4px 0; }
.grid { display: grid; grid-template-columns: repeat(auto-fill, minmax(220px, 1fr)); gap: 16px; }
.tile { margin: 0; background: #fff; border-radius: 6px; box-shadow: 0 1px 3px rgba(0,0,0,.15); overflow: hidden; }
.frame { display: flex; align-items: center; justify-content: center; height: 200px; background: #e8e9ec; }
.frame img, .frame video { max-width: 100%; max-height: 200px; display: block; }
.plain { padding: 8px; text-align: center; color: #555; word-break: break-all; }
.text { padding: 8px 10px; font-size: 13px; }
.name { font-weight: bold; word-break: break-all; }
.caption, .description { white-space: pre-wrap; word-break: break-word; margin-top: 2px; }
.meta { color: #777; margin-top: 2px; }
%2</style>
</head>
<body>
)";

const char PageTail[] = "</body>\n</html>\n";

QString Div(const char *cssClass, const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<div class=\"%1\">%2</div>").arg(QLatin1String(cssClass), HtmlText(text));
}

QString TimeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString MetaText(const AlbumDocumentPicture &picture)
{
    QStringList parts;
    if (picture.shootTime.isValid())
        parts << QStringLiteral("拍摄于 ") + TimeText(picture.shootTime);
    else if (picture.uploadTime.isValid())
        parts << QStringLiteral("上传于 ") + TimeText(picture.uploadTime);
    if (!picture.place.isEmpty())
        parts << picture.place;
    return parts.join(QStringLiteral(" · "));
}

QString ShownName(const AlbumDocumentPicture &picture)
{
    return picture.name.isEmpty() ? picture.file : picture.name;
}

QString TileHtml(const GalleryTile &tile)
{
    const AlbumDocumentPicture &picture = tile.picture;
    const QString file = RelativeAddress({picture.file});
    QString frame;
    switch (tile.kind) {
    case GalleryTile::Kind::Thumbnail:
        frame = QStringLiteral("<a class=\"frame\" href=\"%1\"><img src=\"%2\" alt=\"%3\"></a>")
                    .arg(file, RelativeAddress({ThumbFolderName(), tile.thumbFile}),
                         HtmlText(ShownName(picture)));
        break;
    case GalleryTile::Kind::Video:
        frame = QStringLiteral(
                    "<div class=\"frame\"><video controls preload=\"metadata\" src=\"%1\"></video></div>"
                    "<div class=\"plain\"><a href=\"%1\">打开视频</a></div>")
                    .arg(file);
        break;
    case GalleryTile::Kind::Plain:
        frame = QStringLiteral("<a class=\"frame plain\" href=\"%1\">%2<br>(无法预览，点击打开文件)</a>")
                    .arg(file, HtmlText(picture.file));
        break;
    }
    return QStringLiteral(
               "<figure class=\"tile\">%1<figcaption class=\"text\">%2%3%4</figcaption></figure>\n")
        .arg(frame, Div("name", ShownName(picture)), Div("caption", picture.caption),
             Div("meta", MetaText(picture)));
}

QString CountText(const GalleryCard &card)
{
    if (card.album.pictureCount >= 0 && card.album.pictureCount != card.savedCount)
        return QStringLiteral("已保存 %1 张，共 %2 张").arg(card.savedCount).arg(card.album.pictureCount);
    return QStringLiteral("%1 张").arg(card.savedCount);
}

QString CardHtml(const GalleryCard &card)
{
    const QString page = RelativeAddress({card.folderName, GalleryPageName()});
    const QString name = card.album.name.isEmpty() ? card.folderName : card.album.name;
    const QString cover = card.coverThumb.isEmpty()
        ? QStringLiteral("<span class=\"plain\">%1</span>").arg(HtmlText(name))
        : QStringLiteral("<img src=\"%1\" alt=\"%2\">")
              .arg(RelativeAddress({card.folderName, ThumbFolderName(), card.coverThumb}), HtmlText(name));
    return QStringLiteral("<figure class=\"tile album\"><a class=\"frame\" href=\"%1\">%2</a>"
                          "<figcaption class=\"text\"><a class=\"name\" href=\"%1\">%3</a>%4%5</figcaption>"
                          "</figure>\n")
        .arg(page, cover, HtmlText(name), Div("description", card.album.description),
             Div("meta", CountText(card)));
}

// The card of the posts or the board: `name`, its cover (else the name) and count,
// leading to `page` in `folderName`.
QString FeedCardHtml(const char *cssClass, const QString &name, const QString &folderName,
                     const QString &page, const QString &coverThumb, int count)
{
    const QString address = RelativeAddress({folderName, page});
    const QString cover = coverThumb.isEmpty()
        ? QStringLiteral("<span class=\"plain\">%1</span>").arg(name)
        : QStringLiteral("<img src=\"%1\" alt=\"%2\">")
              .arg(RelativeAddress({folderName, ThumbFolderName(), coverThumb}), name);
    return QStringLiteral("<figure class=\"tile %1\"><a class=\"frame\" href=\"%2\">%3</a>"
                          "<figcaption class=\"text\"><a class=\"name\" href=\"%2\">%4</a>"
                          "<div class=\"meta\">%5 条</div></figcaption></figure>\n")
        .arg(QLatin1String(cssClass), address, cover, name, QString::number(count));
}

} // namespace

QString GalleryPageStart(const QString &title, const QString &extraStyle)
{
    return QString::fromUtf8(PageHead).arg(HtmlText(title), extraStyle);
}

QString GalleryPageEnd()
{
    return QString::fromUtf8(PageTail);
}

QString HtmlText(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

QString AlbumPageHtml(const AlbumDocument &album, const QList<GalleryTile> &tiles)
{
    QString html = GalleryPageStart(album.name);
    html += QStringLiteral("<header><a class=\"back\" href=\"%1\">&larr; 全部相册</a>")
                .arg(RelativeAddress({QStringLiteral(".."), GalleryPageName()}));
    html += QStringLiteral("<h1>%1</h1>").arg(HtmlText(album.name));
    html += Div("about", album.description);
    html += QStringLiteral("</header>\n<main class=\"grid\">\n");
    for (const GalleryTile &tile : tiles)
        html += TileHtml(tile);
    html += QStringLiteral("</main>\n");
    return html + GalleryPageEnd();
}

QString SpacePageHtml(const QString &ownerUin, const QList<GalleryCard> &cards, const GalleryMoodCard &moods,
                      const GalleryBoardCard &board)
{
    const QString title = QStringLiteral("QQ空间相册 %1").arg(ownerUin);
    QString html = GalleryPageStart(title);
    QString about = QStringLiteral("%1 个相册").arg(cards.size());
    if (moods.posts > 0)
        about += QStringLiteral(" · %1 条说说").arg(moods.posts);
    if (board.messages > 0)
        about += QStringLiteral(" · %1 条留言").arg(board.messages);
    html += QStringLiteral("<header><h1>%1</h1><div class=\"about\">%2</div></header>\n")
                .arg(HtmlText(title), about);
    html += QStringLiteral("<main class=\"grid\">\n");
    if (moods.posts > 0)
        html += FeedCardHtml("moods", QStringLiteral("说说"), moods.folderName, MoodPageName(1),
                             moods.coverThumb, moods.posts);
    if (board.messages > 0)
        html += FeedCardHtml("board", QStringLiteral("留言板"), board.folderName, BoardPageName(1),
                             board.coverThumb, board.messages);
    for (const GalleryCard &card : cards)
        html += CardHtml(card);
    html += QStringLiteral("</main>\n");
    return html + GalleryPageEnd();
}

} // namespace albivex
