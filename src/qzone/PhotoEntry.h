#pragma once

#include <QList>
#include <QPair>
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

    // What the listing says of the picture beyond what the list shows; each stays
    // empty (or -1) when the picture's own item does not give it, never guessed.
    QString fullName; // the whole decoded "name" (no cut at a comma)
    QString fullDescription; // the whole decoded "desc"
    QString shootTime; // "rawshoottime" as given: a date-time text or seconds
    QString place; // "poiName", decoded
    QString cameraType; // "cameratype", decoded
    // The "exif" block's values as given (decoded), in answer order; empty values
    // are left out.
    QList<QPair<QString, QString>> exif;
    int commentCount = -1; // "cmtTotal"
};

} // namespace albivex
