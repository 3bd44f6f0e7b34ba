#include "gallery/FeedPageParts.h"

#include "gallery/GalleryLayout.h"

namespace albivex {

namespace {

const char Style[] = R"(main.moods, main.board { max-width: 780px; }
.mood, .message { background: #fff; border-radius: 6px; box-shadow: 0 1px 3px rgba(0,0,0,.15); padding: 12px 16px; margin-bottom: 16px; }
.body { white-space: pre-wrap; word-break: break-word; margin: 6px 0; }
.media { display: flex; flex-wrap: wrap; gap: 6px; margin: 6px 0; }
.thumb { display: flex; align-items: center; justify-content: center; width: 150px; height: 150px; background: #e8e9ec; overflow: hidden; }
.thumb img { max-width: 100%; max-height: 100%; display: block; }
.thumb.plain { font-size: 12px; padding: 4px; box-sizing: border-box; }
.clip video { max-width: 360px; max-height: 240px; display: block; }
.repost { margin: 6px 0; padding: 6px 10px; background: #f4f5f7; border-left: 3px solid #c8ccd2; }
.comments { margin-top: 8px; padding-top: 6px; border-top: 1px solid #eee; font-size: 13px; }
.comment { margin: 6px 0; }
.comment .thumb { width: 96px; height: 96px; }
.replies { margin-left: 18px; padding-left: 8px; border-left: 2px solid #eee; }
.who { font-weight: bold; }
.private { color: #a05a00; margin-left: 6px; }
.pages { margin: 8px 0; }
.pages a, .pages span { margin-right: 8px; }
.pages .current { font-weight: bold; }
)";

} // namespace

QString FeedStyle()
{
    return QString::fromUtf8(Style);
}

QString FeedPageStart(const QString &heading, int total, int page, int pageCount)
{
    const QString title
        = page > 1 ? QStringLiteral("%1 第 %2 页").arg(heading, QString::number(page)) : heading;
    QString html = GalleryPageStart(title, FeedStyle());
    html += QStringLiteral("<header><a class=\"back\" href=\"%1\">&larr; 全部相册</a><h1>%2</h1>")
                .arg(RelativeAddress({QStringLiteral(".."), GalleryPageName()}), HtmlText(heading));
    html += QStringLiteral("<div class=\"about\">共 %1 条，第 %2 / %3 页</div></header>\n")
                .arg(QString::number(total), QString::number(page), QString::number(pageCount));
    return html;
}

QString TextBlockHtml(const char *cssClass, const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<div class=\"%1\">%2</div>").arg(QLatin1String(cssClass), HtmlText(text));
}

QString FeedTimeText(const QDateTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString WhoHtml(const QString &name, const QString &uin)
{
    return QStringLiteral("<span class=\"who\">%1</span>").arg(HtmlText(name.isEmpty() ? uin : name));
}

QString MediaHtml(const QStringList &files, const FilesShown &shown)
{
    QString html;
    for (const QString &name : files) {
        const auto kind = shown.constFind(name);
        if (kind == shown.cend())
            continue;
        const QString file = RelativeAddress({name});
        switch (*kind) {
        case GalleryTile::Kind::Thumbnail:
            html += QStringLiteral("<a class=\"thumb\" href=\"%1\"><img src=\"%2\" alt=\"%3\"></a>")
                        .arg(file, RelativeAddress({ThumbFolderName(), ThumbFileName(name)}), HtmlText(name));
            break;
        case GalleryTile::Kind::Plain:
            html += QStringLiteral("<a class=\"thumb plain\" href=\"%1\">%2<br>(无法预览，点击打开文件)</a>")
                        .arg(file, HtmlText(name));
            break;
        case GalleryTile::Kind::Video:
            html += QStringLiteral(
                        "<div class=\"clip\"><video controls preload=\"metadata\" src=\"%1\"></video>"
                        "<a href=\"%1\">打开视频</a></div>")
                        .arg(file);
            break;
        }
    }
    return html.isEmpty() ? html : QStringLiteral("<div class=\"media\">%1</div>").arg(html);
}

QString PageLinksHtml(int page, int pageCount, QString (*pageName)(int))
{
    if (pageCount <= 1)
        return QString();
    const auto link = [pageName](int to, const QString &text) {
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(RelativeAddress({pageName(to)}), text);
    };
    QString html = QStringLiteral("<nav class=\"pages\">");
    if (page > 1)
        html += link(page - 1, QStringLiteral("上一页"));
    for (int to = 1; to <= pageCount; ++to) {
        html += to == page ? QStringLiteral("<span class=\"current\">%1</span>").arg(to)
                           : link(to, QString::number(to));
    }
    if (page < pageCount)
        html += link(page + 1, QStringLiteral("下一页"));
    return html + QStringLiteral("</nav>\n");
}

} // namespace albivex
