#include "moodsdl/MoodMedia.h"

#include "storage/MoodFiles.h"

#include <QSet>

namespace albivex {

namespace {

QString AddressOf(const MoodPicture &media)
{
    return media.isVideo ? media.videoAddress() : media.url;
}

// Walks every item of the post in order; `visit` gets the item, its key and file name.
template<typename Visit> void EachMedia(const MoodPost &post, Visit visit)
{
    int pictureNumber = 0;
    int videoNumber = 0;
    const auto postItem = [&](const MoodPicture &media) {
        if (media.isVideo) {
            ++videoNumber;
            visit(media, post.tid + QStringLiteral("/v") + QString::number(videoNumber),
                  MoodVideoFileName(post, videoNumber, QStringLiteral(".mp4")));
        } else {
            ++pictureNumber;
            visit(media, post.tid + QStringLiteral("/p") + QString::number(pictureNumber),
                  MoodPictureFileName(post, pictureNumber, QStringLiteral(".jpg")));
        }
    };
    for (const MoodPicture &picture : post.pictures)
        postItem(picture);
    for (const MoodPicture &video : post.videos)
        postItem(video);
    const auto commentItems = [&](const MoodComment &comment, const QString &commentTid,
                                  const QString &replyTid) {
        const QString place = QStringLiteral("/c") + commentTid
            + (replyTid.isEmpty() ? QString() : QStringLiteral("r") + replyTid) + QStringLiteral("/p");
        int number = 0;
        for (const MoodPicture &picture : comment.pictures) {
            ++number;
            visit(picture, post.tid + place + QString::number(number),
                  MoodCommentPictureFileName(post, commentTid, replyTid, number, QStringLiteral(".jpg")));
        }
    };
    for (const MoodComment &comment : post.comments) {
        commentItems(comment, comment.tid, QString());
        for (const MoodComment &reply : comment.replies)
            commentItems(reply, comment.tid, reply.tid);
    }
}

} // namespace

QList<MoodMediaItem> MoodMediaOf(const MoodPost &post)
{
    QList<MoodMediaItem> items;
    QSet<QString> addresses;
    EachMedia(post, [&](const MoodPicture &media, const QString &key, const QString &fileName) {
        const QString address = AddressOf(media);
        // A video is listed among the pictures and again in the post's video list.
        if (address.isEmpty() || addresses.contains(address))
            return;
        addresses.insert(address);
        // Videos are held to no placeholder check; their size is the cover's.
        const QSize listed = media.isVideo ? QSize() : QSize(media.width, media.height);
        items.append({key, address, fileName, media.isVideo, listed});
    });
    return items;
}

int MoodMediaWithoutAddress(const MoodPost &post)
{
    int count = 0;
    EachMedia(post, [&count](const MoodPicture &media, const QString &, const QString &) {
        count += AddressOf(media).isEmpty() ? 1 : 0;
    });
    return count;
}

} // namespace albivex
