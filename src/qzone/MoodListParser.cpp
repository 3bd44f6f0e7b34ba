#include "qzone/MoodListParser.h"

#include "qzone/ListItems.h"
#include "qzone/TextPool.h"

#include <limits>
#include <optional>

namespace albivex {

namespace {

const QList<QStringView> &MoodListKeys()
{
    static const QList<QStringView> keys {u"msglist"};
    return keys;
}

// --- value rules -------------------------------------------------------------------

bool IsBlock(QStringView token)
{
    return token.startsWith(QLatin1Char('{')) || token.startsWith(QLatin1Char('['));
}

QString Text(const ItemField *f)
{
    if (!f || f->token.isNull())
        return QString();
    if (f->quoted)
        return DecodeJsonText(f->token);
    if (f->token == u"null" || f->token == u"undefined" || IsBlock(f->token))
        return QString();
    return f->token.toString();
}

// Text for the values many items repeat: looked up in the pool before any copy.
QString PooledText(const ItemField *f, TextPool &pool)
{
    if (!f || f->token.isNull())
        return QString();
    if (!f->quoted && (f->token == u"null" || f->token == u"undefined" || IsBlock(f->token)))
        return QString();
    if (!f->quoted || !f->token.contains(QLatin1Char('\\')))
        return pool.of(f->token);
    return pool.of(DecodeJsonText(f->token));
}

std::optional<qint64> WholeNumber(const ItemField *f)
{
    if (!f)
        return std::nullopt;
    // A number in quotes may be written with escapes ("\t12"); bare ones never are.
    const QString decoded
        = f->quoted && f->token.contains(QLatin1Char('\\')) ? DecodeJsonText(f->token) : QString();
    const QStringView token = (decoded.isNull() ? f->token : QStringView(decoded)).trimmed();
    qsizetype at = 0;
    const bool negative = token.startsWith(QLatin1Char('-'));
    if (negative)
        ++at;
    qint64 value = 0;
    qsizetype digits = 0;
    for (; at < token.size() && token.at(at) >= QLatin1Char('0') && token.at(at) <= QLatin1Char('9');
         ++at, ++digits) {
        if (digits == 18)
            return std::nullopt; // past what a qint64 surely holds
        value = value * 10 + (token.at(at).unicode() - u'0');
    }
    if (digits == 0)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> IntValue(const ItemField *f)
{
    const std::optional<qint64> value = WholeNumber(f);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

int IntNumber(const ItemField *f, int missing)
{
    return IntValue(f).value_or(missing);
}

bool Flag(const ItemField *f)
{
    return f && (f->token == u"true" || WholeNumber(f).value_or(0) != 0);
}

// The keys of a block value ({...}); none for any other value.
ListItem BlockOf(const ItemField *f)
{
    if (!f || f->quoted || !f->token.startsWith(QLatin1Char('{')))
        return ListItem();
    return ReadBlockFields(f->token);
}

// Calls visit with each object of an array value ([...]), as the list reader gives
// them; nothing for any other value. The items view a copy made for the reading, so
// visit takes out what it keeps.
void VisitArray(const ItemField *f, const ItemVisitor &visit)
{
    if (!f || f->quoted || !f->token.startsWith(QLatin1Char('[')))
        return;
    QString text = QStringLiteral("{\"\":");
    text += f->token;
    text += QLatin1Char('}');
    VisitListItems(text, {u""}, visit);
}

bool IsWebAddress(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// --- items -------------------------------------------------------------------------

enum PictureKey {
    PicId,
    Url1,
    Url2,
    Url3,
    SmallUrl,
    Width,
    Height,
    IsVideo,
    VideoInfo,
    VideoUrl,
    CoverUrl,
    PictureKeyCount
};
constexpr QStringView PictureKeys[PictureKeyCount] = {
    u"pic_id", u"url1",     u"url2",       u"url3",      u"smallurl",  u"width",
    u"height", u"is_video", u"video_info", u"video_url", u"cover_url",
};

MoodPicture ReadPicture(const ListItem &item, bool inVideoList)
{
    const ItemField *f[PictureKeyCount];
    item.findAll(PictureKeys, PictureKeyCount, f);
    MoodPicture picture;
    picture.picId = Text(f[PicId]);
    for (const PictureKey largestFirst : {Url3, Url2, Url1}) {
        picture.url = Text(f[largestFirst]);
        if (!picture.url.isEmpty())
            break;
    }
    if (picture.url.isEmpty() && IsWebAddress(picture.picId))
        picture.url = picture.picId;
    picture.smallUrl = Text(f[SmallUrl]);
    picture.width = IntNumber(f[Width], 0);
    picture.height = IntNumber(f[Height], 0);
    picture.isVideo = inVideoList || Flag(f[IsVideo]);
    const ListItem info = BlockOf(f[VideoInfo]);
    if (!info.fields.isEmpty()) {
        picture.videoFile = Text(info.find(u"url3"));
        picture.videoPlay = Text(info.find(u"video_url"));
        picture.videoCover = Text(info.find(u"cover_url"));
    } else if (inVideoList) {
        picture.videoPlay = Text(f[VideoUrl]);
        picture.videoCover = Text(f[CoverUrl]);
    }
    return picture;
}

QList<MoodPicture> ReadPictures(const ItemField *list, bool videos = false)
{
    QList<MoodPicture> pictures;
    VisitArray(list, [&](const ListItem &item) {
        pictures.append(ReadPicture(item, videos));
        return true;
    });
    return pictures;
}

enum CommentKey { CTid, CUin, CName, CContent, CCreateTime, CCreateText, CPic, CReplies, CommentKeyCount };
constexpr QStringView CommentKeys[CommentKeyCount] = {
    u"tid", u"uin", u"name", u"content", u"create_time", u"createTime", u"pic", u"list_3",
};

MoodComment ReadComment(const ListItem &item, bool reply, TextPool &pool)
{
    const ItemField *f[CommentKeyCount];
    item.findAll(CommentKeys, CommentKeyCount, f);
    MoodComment comment;
    comment.tid = Text(f[CTid]);
    comment.uin = PooledText(f[CUin], pool);
    comment.name = PooledText(f[CName], pool);
    comment.content = Text(f[CContent]);
    comment.createTime = WholeNumber(f[CCreateTime]).value_or(0);
    comment.createText = Text(f[CCreateText]);
    comment.pictures = ReadPictures(f[CPic]);
    if (!reply) {
        VisitArray(f[CReplies], [&](const ListItem &replyItem) {
            comment.replies.append(ReadComment(replyItem, true, pool));
            return true;
        });
    }
    return comment;
}

enum PostKey {
    Tid,
    Uin,
    Name,
    Content,
    CreatedTime,
    CreateText,
    Secret,
    Lbs,
    SourceName,
    Pic,
    PicTotal,
    Video,
    CmtNum,
    CommentList,
    HasMoreCon,
    RtTid,
    RtUin,
    RtName,
    RtCreateText,
    RtCon,
    PostKeyCount
};
constexpr QStringView PostKeys[PostKeyCount] = {
    u"tid",        u"uin",    u"name",       u"content",       u"created_time",
    u"createTime", u"secret", u"lbs",        u"source_name",   u"pic",
    u"pictotal",   u"video",  u"cmtnum",     u"commentlist",   u"has_more_con",
    u"rt_tid",     u"rt_uin", u"rt_uinname", u"rt_createTime", u"rt_con",
};

MoodPost ReadPost(const ListItem &item, TextPool &pool)
{
    const ItemField *f[PostKeyCount];
    item.findAll(PostKeys, PostKeyCount, f);
    MoodPost post;
    post.tid = Text(f[Tid]);
    post.uin = PooledText(f[Uin], pool);
    post.name = PooledText(f[Name], pool);
    post.content = Text(f[Content]);
    post.createdTime = WholeNumber(f[CreatedTime]).value_or(0);
    post.createText = Text(f[CreateText]);
    post.secret = Flag(f[Secret]);
    post.sourceName = PooledText(f[SourceName], pool);
    const ListItem lbs = BlockOf(f[Lbs]);
    if (!lbs.fields.isEmpty()) {
        post.placeName = PooledText(lbs.find(u"name"), pool);
        post.placeId = PooledText(lbs.find(u"idname"), pool);
        post.placeX = Text(lbs.find(u"pos_x"));
        post.placeY = Text(lbs.find(u"pos_y"));
    }
    post.pictures = ReadPictures(f[Pic]);
    post.pictureTotal = IntNumber(f[PicTotal], 0);
    post.videos = ReadPictures(f[Video], true);
    post.commentTotal = IntNumber(f[CmtNum], 0);
    VisitArray(f[CommentList], [&](const ListItem &comment) {
        post.comments.append(ReadComment(comment, false, pool));
        return true;
    });
    post.moreContent = Flag(f[HasMoreCon]);
    post.rtTid = Text(f[RtTid]);
    post.rtUin = PooledText(f[RtUin], pool);
    post.rtName = PooledText(f[RtName], pool);
    post.rtCreateText = Text(f[RtCreateText]);
    post.rtContent = Text(BlockOf(f[RtCon]).find(u"content"));
    return post;
}

// The keys of the answer's outermost object (the first brace on, past any wrapper).
ListItem TopLevel(QStringView answer)
{
    const qsizetype brace = answer.indexOf(QLatin1Char('{'));
    return brace < 0 ? ListItem() : ReadBlockFields(answer.sliced(brace));
}

void ReadHead(const ListItem &top, MoodListPage &page)
{
    page.code = IntValue(top.find(u"code"));
    page.subcode = IntNumber(top.find(u"subcode"), 0);
    page.message = Text(top.find(u"message"));
}

} // namespace

MoodListPage ParseMoodList(const QString &answer)
{
    MoodListPage page;
    const ListItem top = TopLevel(answer);
    ReadHead(top, page);
    // A count below zero counts nothing: as if not given.
    page.total = qMax(-1, IntNumber(top.find(u"total"), -1));
    page.postCount = qMax(-1, IntNumber(BlockOf(top.find(u"usrinfo")).find(u"msgnum"), -1));
    TextPool pool;
    VisitListItems(answer, MoodListKeys(), [&](const ListItem &item) {
        page.posts.append(ReadPost(item, pool));
        return true;
    });
    return page;
}

MoodListPage ParseMoodDetail(const QString &answer)
{
    MoodListPage page;
    const ListItem top = TopLevel(answer);
    ReadHead(top, page);
    if (top.find(u"tid")) {
        TextPool pool;
        page.posts.append(ReadPost(top, pool));
    }
    return page;
}

bool MoodNeedsDetail(const MoodPost &post)
{
    return post.moreContent || post.pictureTotal > post.pictures.size();
}

} // namespace albivex
