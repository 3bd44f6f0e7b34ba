#include "gallery/MoodPages.h"

#include "gallery/GalleryLayout.h"

#include <algorithm>

namespace albivex {

namespace {

QStringList FileNames(const QList<MoodDocumentFile> &files)
{
    QStringList names;
    names.reserve(files.size());
    for (const MoodDocumentFile &file : files)
        names << file.file;
    return names;
}

QString CommentHtml(const MoodDocumentComment &comment, const FilesShown &shown)
{
    QString replies;
    for (const MoodDocumentComment &reply : comment.replies)
        replies += CommentHtml(reply, shown);
    if (!replies.isEmpty())
        replies = QStringLiteral("<div class=\"replies\">%1</div>").arg(replies);
    return QStringLiteral("<div class=\"comment\"><div>%1 <span class=\"meta\">%2</span></div>%3%4%5</div>\n")
        .arg(WhoHtml(comment.name, comment.author), FeedTimeText(comment.time),
             TextBlockHtml("body", comment.text), MediaHtml(FileNames(comment.files), shown), replies);
}

QString CommentsHtml(const MoodDocumentEntry &post, const FilesShown &shown)
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
        .arg(WhoHtml(post.repostName, post.repostAuthor), HtmlText(post.repostTime),
             TextBlockHtml("body", post.repostText));
}

QString PostHtml(const MoodDocumentEntry &post, const FilesShown &shown)
{
    QStringList meta;
    if (post.time.isValid())
        meta << FeedTimeText(post.time);
    if (!post.source.isEmpty())
        meta << QStringLiteral("来自 ") + post.source;
    return QStringLiteral("<article class=\"mood\">%1%2%3%4%5%6</article>\n")
        .arg(TextBlockHtml("meta", meta.join(QStringLiteral(" · "))), TextBlockHtml("body", post.text),
             MediaHtml(FileNames(post.files), shown), RepostHtml(post),
             TextBlockHtml("meta",
                           post.placeName.isEmpty() ? QString() : QStringLiteral("位置：") + post.placeName),
             CommentsHtml(post, shown));
}

} // namespace

QString MoodPageHtml(const QList<MoodDocumentEntry> &posts, const FilesShown &shown, int page, int pageCount,
                     int totalPosts)
{
    QString html = FeedPageStart(QStringLiteral("说说"), totalPosts, page, pageCount);
    const QString pages = PageLinksHtml(page, pageCount, MoodPageName);
    html += pages + QStringLiteral("<main class=\"moods\">\n");
    for (const MoodDocumentEntry &post : posts)
        html += PostHtml(post, shown);
    html += QStringLiteral("</main>\n") + pages;
    return html + GalleryPageEnd();
}

} // namespace albivex
