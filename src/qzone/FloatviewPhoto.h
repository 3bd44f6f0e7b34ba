#pragma once

#include <QString>

namespace albivex {

// One photo of a floatview answer: what the photo list does not give of it.
struct FloatviewPhoto
{
    QString picKey; // the picture's lloc, as in the photo list
    QString raw; // the original's address (for every space); empty when there is none
    bool isVideo = false;
    // From the video's video_info (none for pictures): status 2 when transcoded, 1 while
    // not yet (both addresses empty then); 0 without video_info.
    int videoStatus = 0;
    QString downloadUrl; // the video file, may be empty when videoUrl is not
    QString videoUrl; // the video as the viewer plays it

    // The video file to save: downloadUrl, else videoUrl; empty when neither is given.
    QString videoAddress() const { return downloadUrl.isEmpty() ? videoUrl : downloadUrl; }
};

} // namespace albivex
