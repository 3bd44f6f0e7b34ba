#pragma once

#include "qzone/PhotoEntry.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace albivex {

// Cuts one page of a photo-list answer into pictures by plain-text rules (never as
// JSON); see CutRule.h for how the i-th value of a key is found.

// The number of pictures on the page: the number of quoted "pre" keys (the marker
// `"pre" : `) minus one, for the album's own cover also carries that key; never
// below 0. The letters pre elsewhere (in names, addresses or other keys) do not count.
int CountPictures(QStringView answer);

// The album's total number of pictures, from the first `"totalInAlbum" : N` of the
// answer; -1 when the key is missing or no digits follow it (or they overflow an
// int). Paging asks for further pages while fewer pictures than this have arrived.
int TotalInAlbum(QStringView answer);

// Picture i (1 to CountPictures) takes the i-th value of each key:
// - url: "url", every "\/" turned into "/";
// - name: "name", its backslash-u escapes decoded (UnescapeUnicode), so that the list,
//   the log and the file name all show the readable text;
// - uploadTime: "uploadtime", nothing more;
// - description: "desc", every "\/" removed, then its backslash-u escapes decoded.
// - width, height: "width", "height", the number the piece starts with (PieceNumber:
//   the last key of the last picture has no comma after it); 0 when not a number.
// - lloc: "lloc", nothing more;
// - raw, originUrl: "raw", "origin_url", every "\/" turned into "/";
// - rawUpload, originUpload, isVideo: "raw_upload", "origin_upload", "is_video", set
//   when the piece's value is true, 1 or "1" (IsSetFlag).
// A key that occurs fewer than i times leaves that field of picture i empty; it never
// takes another picture's value. number is firstNumber + i - 1, so a later page
// passes the count of pictures listed before it plus one. status is empty.
// One pass per key: the cost is linear in the answer's length.
QList<PhotoEntry> ParsePhotoList(const QString &answer, int firstNumber = 1);

} // namespace albivex
