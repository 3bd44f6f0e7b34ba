#include "qzone/MoodListParser.h"

#include "qzone/ItemValues.h"
#include "qzone/ListItems.h"
#include "qzone/TextPool.h"

namespace albivex {

namespace {

const QList<QStringView> &MoodListKeys()
{
    static const QList<QStringView> keys {u"msglist"};
    return keys;
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
    picture.picId = ItemText(f[PicId]);
    for (const PictureKey largestFirst : {Url3, Url2, Url1}) {
        picture.url = ItemText(f[largestFirst]);
        if (!picture.url.isEmpty())
            break;
    }
    if (picture.url.isEmpty() && IsWebAddress(picture.picId))
        picture.url = picture.picId;
    picture.smallUrl = ItemText(f[SmallUrl]);
    picture.width = ItemInt(f[Width], 0);
    picture.height = ItemInt(f[Height], 0);
    picture.isVideo = inVideoList || ItemFlag(f[IsVideo]);
    const ListItem info = ItemBlock(f[VideoInfo]);
    if (!info.fields.isEmpty()) {
        picture.videoFile = ItemText(info.find(u"url3"));
        picture.videoPlay = ItemText(info.find(u"video_url"));
        picture.videoCover = ItemText(info.find(u"cover_url"));
    } else if (inVideoList) {
        picture.videoPlay = ItemText(f[VideoUrl]);
        picture.videoCover = ItemText(f[CoverUrl]);
    }
    return picture;
}

QList<MoodPicture> ReadPictures(const ItemField *list, bool videos = false)
{
    QList<MoodPicture> pictures;
    VisitItemArray(list, [&](const ListItem &item) {
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
    comment.tid = ItemText(f[CTid]);
    comment.uin = ItemPooledText(f[CUin], pool);
    comment.name = ItemPooledText(f[CName], pool);
    comment.content = ItemText(f[CContent]);
    comment.createTime = ItemWholeNumber(f[CCreateTime]).value_or(0);
    comment.createText = ItemText(f[CCreateText]);
    comment.pictures = ReadPictures(f[CPic]);
    if (!reply) {
        VisitItemArray(f[CReplies], [&](const ListItem &replyItem) {
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
    post.tid = ItemText(f[Tid]);
    post.uin = ItemPooledText(f[Uin], pool);
    post.name = ItemPooledText(f[Name], pool);
    post.content = ItemText(f[Content]);
    post.createdTime = ItemWholeNumber(f[CreatedTime]).value_or(0);
    post.createText = ItemText(f[CreateText]);
    post.secret = ItemFlag(f[Secret]);
    post.sourceName = ItemPooledText(f[SourceName], pool);
    const ListItem lbs = ItemBlock(f[Lbs]);
    if (!lbs.fields.isEmpty()) {
        post.placeName = ItemPooledText(lbs.find(u"name"), pool);
        post.placeId = ItemPooledText(lbs.find(u"idname"), pool);
        post.placeX = ItemText(lbs.find(u"pos_x"));
        post.placeY = ItemText(lbs.find(u"pos_y"));
    }
    post.pictures = ReadPictures(f[Pic]);
    post.pictureTotal = ItemInt(f[PicTotal], 0);
    post.videos = ReadPictures(f[Video], true);
    post.commentTotal = ItemInt(f[CmtNum], 0);
    VisitItemArray(f[CommentList], [&](const ListItem &comment) {
        post.comments.append(ReadComment(comment, false, pool));
        return true;
    });
    post.moreContent = ItemFlag(f[HasMoreCon]);
    post.rtTid = ItemText(f[RtTid]);
    post.rtUin = ItemPooledText(f[RtUin], pool);
    post.rtName = ItemPooledText(f[RtName], pool);
    post.rtCreateText = ItemText(f[RtCreateText]);
    post.rtContent = ItemText(ItemBlock(f[RtCon]).find(u"content"));
    return post;
}

void ReadHead(const ListItem &top, MoodListPage &page)
{
    page.code = ItemIntValue(top.find(u"code"));
    page.subcode = ItemInt(top.find(u"subcode"), 0);
    page.message = ItemText(top.find(u"message"));
}

} // namespace

MoodListPage ParseMoodList(const QString &answer)
{
    MoodListPage page;
    const ListItem top = AnswerTopLevel(answer);
    ReadHead(top, page);
    // A count below zero counts nothing: as if not given.
    page.total = qMax(-1, ItemInt(top.find(u"total"), -1));
    page.postCount = qMax(-1, ItemInt(ItemBlock(top.find(u"usrinfo")).find(u"msgnum"), -1));
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
    const ListItem top = AnswerTopLevel(answer);
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
