#pragma once

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
};

} // namespace albivex::standin
