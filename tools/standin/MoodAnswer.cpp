#include "standin/MoodAnswer.h"

#include "standin/AnswerText.h"

#include <QDateTime>

namespace albivex::standin {

namespace {

using Fields = QList<QPair<QString, QString>>;

// An object opening on its key's line, its fields at indent + 3.
QString objectAt(int indent, const Fields &fields)
{
    return AnswerText::object(indent, fields).mid(indent);
}

QString arrayAt(int indent, const QList<Fields> &items)
{
    if (items.isEmpty())
        return QStringLiteral("[]");
    QString text = QStringLiteral("[\n");
    for (const Fields &item : items)
        text += AnswerText::object(indent + 3, item) + QLatin1String(",\n");
    text.chop(2);
    return text + QLatin1Char('\n') + QString(indent, QLatin1Char(' ')) + QLatin1Char(']');
}

QString chinaDate(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs + 8 * 3600, Qt::UTC).toString(QStringLiteral("yyyy年MM月dd日"));
}

QString number(qint64 value)
{
    return QString::number(value);
}

class PostWriter
{
public:
    PostWriter(const MoodAnswer::Form &form, const MoodAnswer::Owner &owner)
        : m_form(form), m_owner(owner) { }

    Fields post(const MoodInfo &post, bool listed, int indent) const
    {
        Fields fields = {
            {QStringLiteral("tid"), text(post.tid)},
            {QStringLiteral("uin"), m_owner.uin},
            {QStringLiteral("name"), text(m_owner.name)},
            {QStringLiteral("content"), text(listed ? post.listedContent() : post.content)},
            {QStringLiteral("created_time"), number(post.time)},
            {QStringLiteral("createTime"), text(chinaDate(post.time))},
            {QStringLiteral("secret"), QStringLiteral("0")},
            {QStringLiteral("lbs"),
             objectAt(indent,
                      {{QStringLiteral("idname"), text(post.placeId)},
                       {QStringLiteral("name"), text(post.placeName)},
                       {QStringLiteral("pos_x"), text(post.placeX)},
                       {QStringLiteral("pos_y"), text(post.placeY)}})},
            {QStringLiteral("source_name"), text(post.sourceName)},
            {QStringLiteral("pictotal"), number(post.pictures.size())},
        };
        const QList<MoodPicture> pictures
            = listed ? post.pictures.mid(0, MoodInfo::ListPictures) : post.pictures;
        if (!pictures.isEmpty())
            fields.append({QStringLiteral("pic"), pictureArray(pictures, indent)});
        QList<Fields> videos;
        for (const MoodPicture &picture : pictures) {
            if (picture.video)
                videos.append(
                    {{QStringLiteral("cover_url"), address(picture.largePath())},
                     {QStringLiteral("url1"), address(picture.path('s'))},
                     {QStringLiteral("url3"), address(picture.videoPath())},
                     {QStringLiteral("video_id"), text(picture.tid + QLatin1Char('_') + picture.name)},
                     {QStringLiteral("video_url"), address(picture.videoPath())}});
        }
        if (!videos.isEmpty())
            fields.append({QStringLiteral("video"), arrayAt(indent, videos)});
        fields.append({QStringLiteral("cmtnum"), number(post.commentCount())});
        if (!post.comments.isEmpty()) {
            QList<Fields> comments;
            for (const MoodComment &comment : post.comments)
                comments.append(this->comment(comment, indent + 6));
            fields.append({QStringLiteral("commentlist"), arrayAt(indent, comments)});
        }
        fields.append({QStringLiteral("has_more_con"),
                       listed && post.isCut() ? QStringLiteral("1") : QStringLiteral("0")});
        if (post.repost) {
            fields += Fields {{QStringLiteral("rt_tid"), text(post.rtTid)},
                              {QStringLiteral("rt_uin"), post.rtUin},
                              {QStringLiteral("rt_uinname"), text(post.rtName)},
                              {QStringLiteral("rt_createTime"), text(chinaDate(post.rtTime))},
                              {QStringLiteral("rt_con"),
                               objectAt(indent, {{QStringLiteral("content"), text(post.rtContent)}})}};
        }
        return fields;
    }

private:
    QString text(const QString &plain) const { return MoodAnswer::text(plain, m_form.today); }
    QString address(const QString &path) const { return AnswerText::escapedUrl(m_form.root, path); }

    QString pictureArray(const QList<MoodPicture> &pictures, int indent) const
    {
        QList<Fields> items;
        for (const MoodPicture &picture : pictures) {
            Fields item = {
                {QStringLiteral("pic_id"),
                 picture.idIsAddress ? address(picture.largePath())
                                     : text(picture.tid + QLatin1Char(',') + picture.name)},
                {QStringLiteral("url1"), address(picture.path('s'))},
                {QStringLiteral("url2"), address(picture.path('c'))},
                {QStringLiteral("url3"), address(picture.largePath())},
                {QStringLiteral("smallurl"), address(picture.path('s'))},
                {QStringLiteral("width"), number(picture.width)},
                {QStringLiteral("height"), number(picture.height)},
                {QStringLiteral("is_video"), picture.video ? QStringLiteral("1") : QStringLiteral("0")},
            };
            if (picture.video)
                item.append({QStringLiteral("video_info"),
                             objectAt(indent + 6,
                                      {{QStringLiteral("url3"), address(picture.videoPath())},
                                       {QStringLiteral("video_url"), address(picture.videoPath())},
                                       {QStringLiteral("cover_url"), address(picture.largePath())}})});
            items.append(item);
        }
        return arrayAt(indent, items);
    }

    Fields comment(const MoodComment &comment, int indent) const
    {
        Fields fields = {
            {QStringLiteral("tid"), number(comment.id)},
            {QStringLiteral("uin"), comment.uin.isEmpty() ? m_owner.uin : comment.uin},
            {QStringLiteral("name"), text(comment.uin.isEmpty() ? m_owner.name : comment.name)},
            {QStringLiteral("content"), text(comment.content)},
            {QStringLiteral("create_time"), number(comment.time)},
            {QStringLiteral("createTime"), text(chinaDate(comment.time))},
        };
        if (!comment.pictures.isEmpty())
            fields.append({QStringLiteral("pic"), pictureArray(comment.pictures, indent)});
        if (!comment.replies.isEmpty()) {
            QList<Fields> replies;
            for (const MoodComment &reply : comment.replies)
                replies.append(this->comment(reply, indent + 6));
            fields.append({QStringLiteral("list_3"), arrayAt(indent, replies)});
        }
        return fields;
    }

    const MoodAnswer::Form &m_form;
    const MoodAnswer::Owner &m_owner;
};

Fields status()
{
    return {{QStringLiteral("code"), QStringLiteral("0")},
            {QStringLiteral("subcode"), QStringLiteral("0")},
            {QStringLiteral("message"), QStringLiteral("\"\"")}};
}

} // namespace

QString MoodAnswer::text(const QString &plain, bool today)
{
    QString out = QStringLiteral("\"");
    out.reserve(plain.size() + 2);
    for (const QChar c : plain) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c.unicode() < 0x20 || (today && c.unicode() >= 0x80))
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString MoodAnswer::wrap(const Form &form, const QString &object)
{
    if (form.bare)
        return object + QLatin1Char('\n');
    return form.callback + QLatin1Char('(') + object + QLatin1String(");\n");
}

QString MoodAnswer::list(const Form &form, const Owner &owner, int total, const QList<MoodInfo> &page)
{
    const PostWriter writer(form, owner);
    Fields fields = status();
    fields.append({QStringLiteral("total"), number(total)});
    fields.append({QStringLiteral("usrinfo"),
                   objectAt(3,
                            {{QStringLiteral("msgnum"), number(total)},
                             {QStringLiteral("name"), text(owner.name, form.today)},
                             {QStringLiteral("uin"), owner.uin}})});
    QList<Fields> posts;
    for (const MoodInfo &post : page)
        posts.append(writer.post(post, true, 9));
    fields.append({QStringLiteral("msglist"), page.isEmpty() ? QStringLiteral("null") : arrayAt(3, posts)});
    return wrap(form, AnswerText::object(0, fields));
}

QString MoodAnswer::detail(const Form &form, const Owner &owner, const MoodInfo &post)
{
    const PostWriter writer(form, owner);
    return wrap(form, AnswerText::object(0, status() + writer.post(post, false, 3)));
}

} // namespace albivex::standin
