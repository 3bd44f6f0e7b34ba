#pragma once

#include "standin/DataSet.h"

#include <QMap>

namespace albivex::standin {

// The photo list answer of both forms: one page of an album's pictures. Each picture
// object writes url, name, uploadtime, desc and pre as `"key" : value,` (keys in
// alphabetical order); one more "pre" stands in the album object before the list, and
// the three letters appear nowhere else unless the data itself holds them.
class PhotoListAnswer
{
public:
    // `today`: picture names and descriptions with \u escapes past ASCII.
    static QString page(const QString &callback, const QString &root, const QString &owner,
                        const AlbumInfo &album, const DataSet &data, int pageStart, int pageNum,
                        bool today = false);
    static QString picturePath(const AlbumInfo &album, PictureVariant variant, int key);

    // The fields the photo list and floatview share for the picture with this key: desc,
    // height, is_video, lloc, name, origin_upload, origin_url, raw, raw_upload,
    // uploadtime, url, width. `withRaw`: write the original's address (else "raw" is ""
    // with raw_upload still 1). `formShift` rotates the is_video form of videos
    // (true, 1, "1") so that each answer uses each form.
    static QMap<QString, QString> pictureFields(const QString &root, const AlbumInfo &album,
                                                const DataSet &data, int key, bool withRaw, bool today,
                                                int formShift);

    // The photo list's own keys of a picture, each only when the data set gives it:
    // rawshoottime, poiName, cameratype (both \u-escaped past ASCII `today`), cmtTotal,
    // and the exif block (one key a line, in the data set's order).
    static void addShotFields(QMap<QString, QString> &fields, const PictureMeta &meta, bool today);

    static QString albumMissing(const QString &callback); // ErrorAnswer::AlbumMissing
};

} // namespace albivex::standin
