#pragma once

#include <QList>
#include <QString>

namespace albivex::standin {

// One picture of a 说说 post or of a comment, as the stand-in keeps it. Its addresses,
// relative to the stand-in's root, name the post's tid and the picture:
//   /mood/b/<tid>/<name>.jpg  large (url3, the one to save)
//   /mood/c/<tid>/<name>.jpg  medium (url2)
//   /mood/s/<tid>/<name>.jpg  small (url1, smallurl)
//   /mood/v/<tid>/<name>.mp4  the video of a video item (video_info)
// <name> is the picture's number in the post (1, 2, ...) or "c" and the comment's number.
struct MoodPicture
{
    QString tid;
    QString name;
    int width = 0; // of the large picture
    int height = 0;
    bool video = false; // is_video 1: the addresses above are its cover, the mp4 its video
    bool missing = false; // every address answers the "图片不存在" GIF
    bool idIsAddress = false; // pic_id is the large address itself

    QString path(char size) const
    {
        return QStringLiteral("/mood/%1/%2/%3.jpg").arg(QLatin1Char(size)).arg(tid, name);
    }
    QString largePath() const { return path('b'); }
    QString videoPath() const { return QStringLiteral("/mood/v/%1/%2.mp4").arg(tid, name); }
};

// A comment or a reply to one (replies have no replies of their own).
struct MoodComment
{
    int id = 0; // tid of the comment, a number within its post
    QString uin; // empty for the space's owner (the main space's is whoever asks)
    QString name; // empty for the space's owner
    QString content; // plain text; emoji codes such as [em]e100[/em] as they stand
    qint64 time = 0; // Unix seconds
    QList<MoodPicture> pictures;
    QList<MoodComment> replies;
};

// One 说说 post with everything the detail answer gives. Texts are plain (the answers
// escape them).
struct MoodInfo
{
    QString tid; // 24 lower-case hex digits, the same in every run
    QString ownerUin; // empty in the main space: owned by whichever number asks
    QString content; // the whole text; the list cuts one longer than CutLength
    qint64 time = 0; // created_time, Unix seconds
    QString sourceName;
    QString placeName; // lbs; all four empty when no place
    QString placeId;
    QString placeX;
    QString placeY;
    QList<MoodPicture> pictures; // every picture and video item, in order
    QList<MoodComment> comments;
    // A repost: the post it passes on.
    bool repost = false;
    QString rtTid;
    QString rtUin;
    QString rtName;
    QString rtContent;
    qint64 rtTime = 0;

    // The list gives at most this many pictures (with pictotal the whole count) and cuts
    // a longer text to this many characters (with has_more_con 1).
    static constexpr int ListPictures = 9;
    static constexpr int CutLength = 120;
    bool isCut() const { return content.size() > CutLength; }
    QString listedContent() const { return isCut() ? content.left(CutLength) : content; }
    int listedPictures() const { return qMin(int(pictures.size()), ListPictures); }
    int commentCount() const { return int(comments.size()); }
};

} // namespace albivex::standin
