#pragma once

#include "qzone/PhotoEntry.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace albivex {

// Reads one page of a photo-list answer picture by picture: every object of the
// "photoList" array is one picture, and each picture's values come from its own
// object (ListItems.h), whatever keys it lacks or adds and whatever stands around the
// list (the album's topic, exif blocks, a bare undefined).

// The number of pictures on the page: the objects of the list.
int CountPictures(QStringView answer);

// Whether the page lists no picture at all; stops reading at the first one.
bool ListsNoPicture(QStringView answer);

// The album's total number of pictures, from the first `"totalInAlbum" : N` of the
// answer; -1 when the key is missing or no digits follow it (or they overflow an
// int). Paging asks for further pages while fewer pictures than this have arrived.
int TotalInAlbum(QStringView answer);

// Picture i takes, from its own object, by the list value rules (ItemValue: the text
// before the first comma, double quotes removed):
// - url: "url", every "\/" turned into "/";
// - name: "name", its backslash-u escapes decoded (UnescapeUnicode), so that the list,
//   the log and the file name all show the readable text;
// - uploadTime: "uploadtime", nothing more;
// - description: "desc", every "\/" removed, then its backslash-u escapes decoded.
// - width, height: "width", "height", the number the piece starts with (PieceNumber);
//   0 when not a number.
// - lloc: "lloc", nothing more;
// - raw, originUrl: "raw", "origin_url", every "\/" turned into "/";
// - rawUpload, originUpload, isVideo: "raw_upload", "origin_upload", "is_video", set
//   when the value is true, 1 or "1" (IsSetFlag).
// and, whole and decoded (DecodeJsonText), for what keeps the user's words: fullName,
// fullDescription, shootTime ("rawshoottime"), place ("poiName"), cameraType
// ("cameratype"), the non-empty values of the "exif" block, and commentCount
// ("cmtTotal", a whole number).
// A key the picture's object lacks leaves that field empty (0, false, -1); it never
// takes another picture's value. number is firstNumber + i - 1, so a later page
// passes the count of pictures listed before it plus one. status is empty.
// The cost is linear in the answer's length.
QList<PhotoEntry> ParsePhotoList(const QString &answer, int firstNumber = 1);

} // namespace albivex
