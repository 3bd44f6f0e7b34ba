#pragma once

#include <QString>

namespace albivex {

// One picture or video of a 说说 or of a comment, as its own item of the answer gives
// it. Every field stays empty (0, false) when the item lacks its key.
struct MoodPicture
{
    QString picId; // "pic_id"; some items give an address here
    // The address to save: the largest the item offers ("url3", else "url2", else
    // "url1"), else pic_id when that is an http(s) address.
    QString url;
    QString smallUrl; // "smallurl"
    int width = 0;
    int height = 0;
    bool isVideo = false; // "is_video" set, or an item of the post's "video" list
    // A video's own addresses, from its "video_info" block (an item of the "video"
    // list may give video_url and cover_url among its own keys instead).
    QString videoFile; // video_info "url3": the video file
    QString videoPlay; // "video_url": the video as the page plays it
    QString videoCover; // "cover_url"

    // The video to save: videoFile, else videoPlay; empty for a picture.
    QString videoAddress() const { return videoFile.isEmpty() ? videoPlay : videoFile; }
};

} // namespace albivex
