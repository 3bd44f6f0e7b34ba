#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace albivex::standin {

// What the lists say of one picture (texts as written between the quotes; addresses
// as paths below the stand-in's root, empty for none).
struct PictureMeta
{
    QString name;
    QString uploadTime; // "yyyy-MM-dd hh:mm:ss", China time
    QString wireDesc;

    // The original as uploaded: raw_upload 1 with `rawPath` (/photo/r/...), or
    // origin_upload 1 with `originPath` (/photo/o/...), or neither.
    bool rawUpload = false;
    QString rawPath;
    bool originUpload = false;
    QString originPath;

    // A video: the listed picture is its cover. Status 2 is transcoded; the download
    // and play addresses (/video/...) may each be empty.
    bool video = false;
    int videoNumber = 0; // 0, 1, 2... among the album's videos; picks the is_video form
    int videoStatus = 0;
    QString downloadPath;
    QString playPath;

    // What the photo list says of the shot; an empty text (or a negative count) leaves
    // its key out of the answer.
    QString shootTime; // rawshoottime: "yyyy-MM-dd hh:mm:ss" China time, or "0"
    QString place; // poiName, plain text (escaped by the answer in the today profile)
    QString cameraType;
    int commentCount = -1; // cmtTotal
    bool hasExif = false;
    QList<QPair<QString, QString>> exif; // in answer order; unknown values are ""
};

} // namespace albivex::standin
