#pragma once

#include <QString>

namespace albivex {

// One picture of an album listing, one row of the photo list.
struct PhotoEntry
{
    int number = 0; // 1-based position in the album's list
    QString name; // as cut from the answer, backslash-u escapes decoded
    QString uploadTime; // as cut from the answer
    QString description;
    QString url; // as the service gives it (no quality rewrite)
    int width = 0; // of the url picture, as listed; 0 when not given
    int height = 0;
    QString status; // empty when listed; "√" or "×" once downloaded

    // The picture's lasting key in its album ("<album id>_<number>"): it stays the
    // same when pictures are added or removed around it.
    QString lloc;
    // The raw original's address (own space; other spaces list it empty), valid when
    // rawUpload is set.
    QString raw;
    bool rawUpload = false;
    // The original kept by the upload service, valid when originUpload is set.
    QString originUrl;
    bool originUpload = false;
    // A video: url is its cover picture; the video itself is asked of floatview.
    bool isVideo = false;
};

} // namespace albivex
