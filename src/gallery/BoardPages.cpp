#include "gallery/BoardPages.h"

#include "gallery/GalleryLayout.h"

namespace albivex {

namespace {

// The name (else the number) and, beside a name, the number it belongs to.
QString WriterHtml(const QString &name, const QString &uin)
{
    QString html = WhoHtml(name, uin);
    if (!name.isEmpty() && !uin.isEmpty())
        html += QStringLiteral(" <span class=\"meta\">%1</span>").arg(HtmlText(uin));
    return html;
}

QString RepliesHtml(const QList<BoardDocumentReply> &replies)
{
    if (replies.isEmpty())
        return QString();
    QString html = QStringLiteral("<section class=\"comments\"><div class=\"meta\">%1 条回复</div>\n")
                       .arg(replies.size());
    for (const BoardDocumentReply &reply : replies) {
        html
            += QStringLiteral("<div class=\"comment\"><div>%1 <span class=\"meta\">%2</span></div>%3</div>\n")
                   .arg(WriterHtml(reply.name, reply.author), FeedTimeText(reply.time),
                        TextBlockHtml("body", reply.text));
    }
    return html + QStringLiteral("</section>");
}

QString MessageHtml(const BoardDocumentEntry &message, const FilesShown &shown)
{
    QStringList when;
    if (message.time.isValid())
        when << FeedTimeText(message.time);
    const QString modified = FeedTimeText(message.modified);
    if (!modified.isEmpty() && modified != FeedTimeText(message.time))
        when << QStringLiteral("修改于 ") + modified;
    QStringList pictures;
    for (const BoardDocumentPicture &picture : message.pictures)
        pictures << picture.file;
    const QString mark
        = message.isPrivate ? QStringLiteral("<span class=\"private\">（私密留言）</span>") : QString();
    return QStringLiteral("<article class=\"message\"><div>%1%2</div>%3%4%5%6</article>\n")
        .arg(WriterHtml(message.name, message.author), mark,
             TextBlockHtml("meta", when.join(QStringLiteral(" · "))), TextBlockHtml("body", message.text),
             MediaHtml(pictures, shown), RepliesHtml(message.replies));
}

} // namespace

QString BoardPageHtml(const QList<BoardDocumentEntry> &messages, const FilesShown &shown, int page,
                      int pageCount, int totalMessages)
{
    QString html = FeedPageStart(QStringLiteral("留言板"), totalMessages, page, pageCount);
    const QString pages = PageLinksHtml(page, pageCount, BoardPageName);
    html += pages + QStringLiteral("<main class=\"board\">\n");
    for (const BoardDocumentEntry &message : messages)
        html += MessageHtml(message, shown);
    html += QStringLiteral("</main>\n") + pages;
    return html + GalleryPageEnd();
}

} // namespace albivex
