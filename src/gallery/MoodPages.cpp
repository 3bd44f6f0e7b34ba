#include "gallery/MoodPages.h"

#include "gallery/GalleryLayout.h"

#include <algorithm>

namespace albivex {

namespace {

const char MoodStyle[] = R"(main.moods { max-width: 780px; }
.mood { background: #fff; border-radius: 6px; box-shadow: 0 1px 3px rgba(0,0,0,.15); padding: 12px 16px; margin-bottom: 16px; }
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
.pages { margin: 8px 0; }
.pages a, .pages span { margin-right: 8px; }
.pages .current { font-weight: bold; }
)";

QString Div(const char *cssClass, const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<div class=\"%1\">%2</div>").arg(QLatin1String(cssClass), HtmlText(text));
}

QString TimeText(const QDateTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString MediaHtml(const QList<MoodDocumentFile> &files, const MoodFilesShown &shown)
{
    QString html;
    for (const MoodDocumentFile &media : files) {
        const auto kind = shown.constFind(media.file);
        if (kind == shown.cend())
            continue;
        const QString file = RelativeAddress({media.file});
        switch (*kind) {
        case GalleryTile::Kind::Thumbnail:
            html += QStringLiteral("<a class=\"thumb\" href=\"%1\"><img src=\"%2\" alt=\"%3\"></a>")
                        .arg(file, RelativeAddress({ThumbFolderName(), ThumbFileName(media.file)}),
                             HtmlText(media.file));
            break;
        case GalleryTile::Kind::Plain:
            html += QStringLiteral("<a class=\"thumb plain\" href=\"%1\">%2<br>(无法预览，点击打开文件)</a>")
                        .arg(file, HtmlText(media.file));
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

QString Who(const QString &name, const QString &uin)
{
    return QStringLiteral("<span class=\"who\">%1</span>").arg(HtmlText(name.isEmpty() ? uin : name));
}

QString CommentHtml(const MoodDocumentComment &comment, const MoodFilesShown &shown)
{
    QString replies;
    for (const MoodDocumentComment &reply : comment.replies)
        replies += CommentHtml(reply, shown);
    if (!replies.isEmpty())
        replies = QStringLiteral("<div class=\"replies\">%1</div>").arg(replies);
    return QStringLiteral("<div class=\"comment\"><div>%1 <span class=\"meta\">%2</span></div>%3%4%5</div>\n")
        .arg(Who(comment.name, comment.author), TimeText(comment.time), Div("body", comment.text),
             MediaHtml(comment.files, shown), replies);
}

QString CommentsHtml(const MoodDocumentEntry &post, const MoodFilesShown &shown)
{
    const qsizetype saved = post.comments.size();
    const qsizetype total = std::max<qsizetype>(saved, post.commentCount);
    if (total <= 0)
        return QString();
    QString html = QStringLiteral("<section class=\"comments\"><div class=\"meta\">%1</div>\n")
                       .arg(total > saved ? QStringLiteral("已保存 %1 条，共 %2 条评论").arg(saved).arg(total)
                                          : QStringLiteral("%1 条评论").arg(saved));
    for (const MoodDocumentComment &comment : post.comments)
        html += CommentHtml(comment, shown);
    return html + QStringLiteral("</section>");
}

QString RepostHtml(const MoodDocumentEntry &post)
{
    if (post.repostAuthor.isEmpty() && post.repostName.isEmpty() && post.repostText.isEmpty())
        return QString();
    return QStringLiteral("<blockquote class=\"repost\"><div>转发 %1 <span class=\"meta\">%2</span></div>%3"
                          "</blockquote>")
        .arg(Who(post.repostName, post.repostAuthor), HtmlText(post.repostTime),
             Div("body", post.repostText));
}

QString PostHtml(const MoodDocumentEntry &post, const MoodFilesShown &shown)
{
    QStringList meta;
    if (post.time.isValid())
        meta << TimeText(post.time);
    if (!post.source.isEmpty())
        meta << QStringLiteral("来自 ") + post.source;
    return QStringLiteral("<article class=\"mood\">%1%2%3%4%5%6</article>\n")
        .arg(Div("meta", meta.join(QStringLiteral(" · "))), Div("body", post.text),
             MediaHtml(post.files, shown), RepostHtml(post),
             Div("meta", post.placeName.isEmpty() ? QString() : QStringLiteral("位置：") + post.placeName),
             CommentsHtml(post, shown));
}

QString PagesHtml(int page, int pageCount)
{
    if (pageCount <= 1)
        return QString();
    const auto link = [](int to, const QString &text) {
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(RelativeAddress({MoodPageName(to)}), text);
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

} // namespace

QString MoodPageHtml(const QList<MoodDocumentEntry> &posts, const MoodFilesShown &shown, int page,
                     int pageCount, int totalPosts)
{
    const QString title = page > 1 ? QStringLiteral("说说 第 %1 页").arg(page) : QStringLiteral("说说");
    QString html = GalleryPageStart(title, QString::fromUtf8(MoodStyle));
    html += QStringLiteral("<header><a class=\"back\" href=\"%1\">&larr; 全部相册</a><h1>说说</h1>")
                .arg(RelativeAddress({QStringLiteral(".."), GalleryPageName()}));
    html += QStringLiteral("<div class=\"about\">共 %1 条，第 %2 / %3 页</div></header>\n")
                .arg(QString::number(totalPosts), QString::number(page), QString::number(pageCount));
    const QString pages = PagesHtml(page, pageCount);
    html += pages + QStringLiteral("<main class=\"moods\">\n");
    for (const MoodDocumentEntry &post : posts)
        html += PostHtml(post, shown);
    html += QStringLiteral("</main>\n") + pages;
    return html + GalleryPageEnd();
}

} // namespace albivex
