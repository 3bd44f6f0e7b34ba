#pragma once

#include "storage/AlbumDocument.h"
#include "storage/BoardDocument.h"
#include "storage/MoodDocument.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimeZone>

// A space folder as downloads leave it: two albums with album.json, small pictures, a
// picture Qt cannot read, a video, an entry whose file is gone, a folder without
// album.json, and the posts' folder (not under its usual name) with 201 posts: the
// newest holds a picture, a video, a gone file, a repost and a comment with a reply,
// the 200 others only "第 N 条"; and the board's folder (not under its usual name
// either) with 203 messages: the newest by a hostile name, with a picture, a gone one
// and a reply, a private one without text, the 201 others only "留言 N". Names,
// captions and texts hold what pages must neither run nor cut.
namespace galleryfixture {

using albivex::AlbumDocument;
using albivex::AlbumDocumentPicture;

inline const QString ScriptCaption = QStringLiteral("<script>document.title='pwned';window.pwned=1</script>");
inline const QString HostileName = QStringLiteral("\"><img src=x onerror=\"window.pwned=2\">'");
inline const QString OddFile = QStringLiteral("a#b%c ?d.jpg");
inline const QString AlbumFolder = QStringLiteral("春游 #1");
inline const QString CoverlessFolder = QStringLiteral("手机%相册");
inline const QString MoodsFolder = QStringLiteral("说说 (2)");
inline const QString MoodText = ScriptCaption + QStringLiteral(" [em]e100[/em]\n第二行");
inline const QString MoodPicture = QStringLiteral("m#1 %.jpg");
inline const QString CommentPicture = QStringLiteral("c 1.png");
inline const QString BoardFolder = QStringLiteral("留言板 (2)");
inline const QString BoardPicture = QStringLiteral("b#1 %.jpg");

inline bool writeImage(const QString &path, int width, int height, const QColor &colour, const char *format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path, format);
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline AlbumDocumentPicture picture(const QString &lloc, const QString &file, const QString &name,
                                    const QString &caption = QString())
{
    AlbumDocumentPicture p;
    p.lloc = lloc;
    p.file = file;
    p.name = name;
    p.caption = caption;
    return p;
}

// The posts' folder of the space, oldest post first as no writer leaves it.
inline bool writeMoods(const QString &space)
{
    using namespace albivex;
    const QTimeZone china(8 * 3600);
    const QString folder = space + QLatin1Char('/') + MoodsFolder;
    if (!QDir().mkpath(folder))
        return false;
    MoodDocument document;
    for (int n = 1; n <= 200; ++n) {
        MoodDocumentEntry filler;
        filler.id = QStringLiteral("t%1").arg(n);
        filler.time = QDateTime(QDate(2020, 1, 1), QTime(0, 0), china).addSecs(3600 * n);
        filler.text = QStringLiteral("第 %1 条").arg(n);
        document.moods << filler;
    }
    MoodDocumentEntry post;
    post.id = QStringLiteral("newest");
    post.time = QDateTime(QDate(2024, 5, 1), QTime(12, 30), china);
    post.text = MoodText;
    post.placeName = QStringLiteral("西湖 & 断桥");
    post.source = QStringLiteral("iPhone <15>");
    post.files = {{MoodPicture, false, QStringLiteral("http://a/1")},
                  {QStringLiteral("v 1.mp4"), true, QStringLiteral("http://a/2")},
                  {QStringLiteral("gone.jpg"), false, QStringLiteral("http://a/3")}};
    post.repostAuthor = QStringLiteral("10001");
    post.repostName = HostileName;
    post.repostTime = QStringLiteral("2024年04月01日");
    post.repostText = QStringLiteral("转发的 <i>原文</i>");
    post.commentCount = 3;
    MoodDocumentComment comment;
    comment.author = QStringLiteral("20002");
    comment.name = QStringLiteral("评论者 <b>");
    comment.time = post.time.addSecs(60);
    comment.text = QStringLiteral("好看 [em]e120[/em]");
    comment.files = {{CommentPicture, false, QStringLiteral("http://a/4")}};
    MoodDocumentComment reply;
    reply.author = QStringLiteral("10000");
    reply.time = post.time.addSecs(120);
    reply.text = QStringLiteral("谢谢 & 再见");
    comment.replies = {reply};
    post.comments = {comment};
    document.moods.insert(100, post);
    return writeImage(folder + QLatin1Char('/') + MoodPicture, 640, 480, Qt::darkCyan, "JPEG")
        && writeImage(folder + QLatin1Char('/') + CommentPicture, 100, 100, Qt::magenta, "PNG")
        && writeBytes(folder + QStringLiteral("/v 1.mp4"),
                      QByteArray("\0\0\0\x18"
                                 "ftypmp42",
                                 12))
        && writeBytes(folder + QLatin1Char('/') + MoodDocumentFileName(), MoodDocumentText(document));
}

// The board's folder of the space, its newest message amid the others.
inline bool writeBoard(const QString &space)
{
    using namespace albivex;
    const QTimeZone china(8 * 3600);
    const QString folder = space + QLatin1Char('/') + BoardFolder;
    if (!QDir().mkpath(folder))
        return false;
    BoardDocument document;
    for (int n = 1; n <= 201; ++n) {
        BoardDocumentEntry filler;
        filler.id = QStringLiteral("b%1").arg(n);
        filler.author = QStringLiteral("40004");
        filler.time = QDateTime(QDate(2021, 1, 1), QTime(0, 0), china).addSecs(3600 * n);
        filler.text = QStringLiteral("留言 %1").arg(n);
        document.messages << filler;
    }
    BoardDocumentEntry newest;
    newest.id = QStringLiteral("newest");
    newest.author = QStringLiteral("20002");
    newest.name = HostileName;
    newest.time = QDateTime(QDate(2024, 6, 1), QTime(10, 0), china);
    newest.modified = newest.time.addSecs(22 * 3600 + 15 * 60);
    newest.text = MoodText;
    newest.pictures = {{BoardPicture, QStringLiteral("http://b.example/1")},
                       {QStringLiteral("gone.jpg"), QStringLiteral("http://b.example/2")}};
    newest.replies = {{QStringLiteral("10000"), QStringLiteral("主人 <i>"), newest.time.addSecs(3600),
                       QStringLiteral("谢谢 & 再见")}};
    BoardDocumentEntry secret;
    secret.id = QStringLiteral("secret");
    secret.author = QStringLiteral("30003");
    secret.name = QStringLiteral("悄悄");
    secret.time = QDateTime(QDate(2024, 5, 31), QTime(9, 0), china);
    secret.modified = secret.time;
    secret.isPrivate = true;
    document.messages.insert(100, secret);
    document.messages.insert(50, newest);
    return writeImage(folder + QLatin1Char('/') + BoardPicture, 300, 300, Qt::darkYellow, "JPEG")
        && writeBytes(folder + QLatin1Char('/') + BoardDocumentFileName(), BoardDocumentText(document));
}

// Writes the space into `space` (made when missing); false when a file failed.
inline bool writeSpace(const QString &space)
{
    const QTimeZone china(8 * 3600);
    const QString first = space + QLatin1Char('/') + AlbumFolder;
    const QString second = space + QLatin1Char('/') + CoverlessFolder;
    if (!QDir().mkpath(first) || !QDir().mkpath(second) || !QDir().mkpath(space + QStringLiteral("/旧的")))
        return false;

    AlbumDocument album;
    album.id = QStringLiteral("V1");
    album.name = QStringLiteral("春游 #1 <b>");
    album.description = QStringLiteral("第一天\n第二天 & more");
    album.createTime = QDateTime(QDate(2016, 4, 1), QTime(8, 0), china);
    album.ownerUin = QStringLiteral("123456789");
    album.pictureCount = 6;
    AlbumDocumentPicture odd = picture(QStringLiteral("l1"), OddFile, QStringLiteral("a#b%c"), ScriptCaption);
    odd.shootTime = QDateTime(QDate(2016, 3, 31), QTime(9, 30), china);
    odd.place = QStringLiteral("杭州市西湖区");
    AlbumDocumentPicture wide = picture(QStringLiteral("l2"), QStringLiteral("宽.png"), HostileName,
                                        QStringLiteral("line one\nline \"two\""));
    AlbumDocumentPicture heic
        = picture(QStringLiteral("l3"), QStringLiteral("iphone.heic"), QStringLiteral("苹果"));
    AlbumDocumentPicture video
        = picture(QStringLiteral("l4"), QStringLiteral("clip #2.mp4"), QStringLiteral("视频"));
    video.video = true;
    AlbumDocumentPicture gone
        = picture(QStringLiteral("l5"), QStringLiteral("gone.jpg"), QStringLiteral("gone"));
    album.pictures = {odd, wide, heic, video, gone};

    AlbumDocument coverless;
    coverless.id = QStringLiteral("V2");
    coverless.name = QStringLiteral("手机%相册");
    coverless.createTime = QDateTime(QDate(2020, 1, 1), QTime(8, 0), china);
    coverless.pictures = {picture(QStringLiteral("m1"), QStringLiteral("x.heic"), QStringLiteral("x"))};

    return writeImage(first + QLatin1Char('/') + OddFile, 800, 600, Qt::red, "JPEG")
        && writeImage(first + QStringLiteral("/宽.png"), 1000, 100, QColor(0, 0, 255, 128), "PNG")
        && writeBytes(first + QStringLiteral("/iphone.heic"),
                      QByteArray("\0\0\0\x18"
                                 "ftypheic",
                                 12)
                          + QByteArray(64, 'x'))
        && writeBytes(first + QStringLiteral("/clip #2.mp4"),
                      QByteArray("\0\0\0\x18"
                                 "ftypmp42",
                                 12))
        && writeBytes(second + QStringLiteral("/x.heic"), QByteArray(32, 'h'))
        && writeImage(space + QStringLiteral("/旧的/old.jpg"), 10, 10, Qt::green, "JPEG")
        && !albivex::SaveAlbumDocument(first, album) && !albivex::SaveAlbumDocument(second, coverless)
        && writeMoods(space) && writeBoard(space);
}

} // namespace galleryfixture
