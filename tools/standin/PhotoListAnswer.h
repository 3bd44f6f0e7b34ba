#pragma once

#include "standin/DataSet.h"

namespace albivex::standin {

// The photo list answer of both forms: one page of an album's pictures. Each picture
// object writes url, name, uploadtime, desc and pre as `"key" : value,`; one more "pre"
// stands in the album object before the list, and the three letters appear nowhere else
// unless the data itself holds them.
class PhotoListAnswer
{
public:
    static QString page(const QString &callback, const QString &root, const QString &owner,
                        const AlbumInfo &album, const DataSet &data, int pageStart, int pageNum);
    static QString picturePath(const AlbumInfo &album, PictureVariant variant, int key);

    static QString albumMissing(const QString &callback); // ErrorAnswer::AlbumMissing
};

} // namespace albivex::standin
