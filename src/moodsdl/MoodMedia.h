#pragma once

#include "qzone/MoodPost.h"

#include <QList>
#include <QSize>
#include <QString>

namespace albivex {

// One file a 说说 asks to be saved: a picture or video of the post, or a picture of
// one of its comments or replies.
struct MoodMediaItem
{
    // The record's key: the post's tid and the item's place in the post ("p2", "v1",
    // "c3/p1", "c3r2/p1"), which stay with the item whatever address the service gives
    // it next time.
    QString key;
    QString address; // what to fetch; MoodEntryOf finds the file by it
    QString fileName; // in the posts' folder; a picture's extension follows its content
    bool video = false;
    QSize listedSize; // the size the answer gives, for the placeholder check
};

// The files of a post, in the post's order: its pictures, its videos, then each
// comment's pictures followed by its replies'. Items without an address are left
// out: there is nothing to fetch (MoodMediaWithoutAddress counts them); so is an
// address given twice (a video is listed among the pictures and in the video list).
QList<MoodMediaItem> MoodMediaOf(const MoodPost &post);
// The items of the post that give no address to save from.
int MoodMediaWithoutAddress(const MoodPost &post);

} // namespace albivex
