#pragma once

#include "qzone/MoodComment.h"
#include "qzone/MoodPicture.h"

#include <QList>
#include <QString>

namespace albivex {

// One 说说 (mood post) of a space, as its own item of a list or detail answer gives
// it. Every field stays empty (0, false) when the item lacks the key; none is ever
// taken from another post. Texts are decoded; emoji codes stay as written.
struct MoodPost
{
    QString tid; // the post's lasting key in its space
    QString uin; // the space
    QString name; // the space owner's name
    QString content;
    qint64 createdTime = 0; // "created_time", Unix seconds
    QString createText; // "createTime", the date as the page shows it
    bool secret = false; // seen by its writer only
    QString sourceName; // the device or program it was sent from

    // "lbs": where it was sent from.
    QString placeName; // "name"
    QString placeId; // "idname"
    QString placeX; // "pos_x", as written
    QString placeY; // "pos_y"

    QList<MoodPicture> pictures; // "pic", as listed
    int pictureTotal = 0; // "pictotal": the post's pictures, also those the list leaves out
    QList<MoodPicture> videos; // "video"
    int commentTotal = 0; // "cmtnum"
    QList<MoodComment> comments; // "commentlist", as listed
    bool moreContent = false; // "has_more_con": the list cut the text short

    // A repost: the post it passes on; all empty for a post of the space's own.
    QString rtTid;
    QString rtUin;
    QString rtName; // "rt_uinname"
    QString rtCreateText; // "rt_createTime"
    QString rtContent; // "rt_con" "content"
};

} // namespace albivex
