#pragma once

#include "standin/DataSet.h"

namespace albivex::standin {

// The floatview answer (the viewer's list around one picture), keys in alphabetical
// order:
// `callback({ "code" : 0, "data" : { "photos" : [...], "picPosInPage" : P, "picTotal" : T },
//  "message" : "", "subcode" : 0 });`
// Each photo has the photo list's picture fields (PhotoListAnswer::pictureFields, with
// the original's address in "raw" for every space), "picKey" (= lloc), and for videos
// `"video_info" : { "cover_url" : ..., "download_url" : ..., "status" : S, "video_url" : ... }`.
class FloatviewAnswer
{
public:
    // At most this many photos: the picture at `position`, up to `prevNum` before it
    // (at most 99) and up to `postNum` after it, as far as the album and the limit go.
    static constexpr int MaxPhotos = 100;

    static QString photos(const QString &callback, const QString &root, const AlbumInfo &album,
                          const DataSet &data, int position, int prevNum, int postNum, bool today);
};

} // namespace albivex::standin
