#pragma once

#include "qzone/FloatviewPhoto.h"

#include <QList>
#include <QString>

namespace albivex {

// Cuts a floatview answer into its photos by plain-text rules (never as JSON).
//
// Every `"picKey" : ` marker is one photo, in answer order. The i-th value of a key is
// not photo i's here: a photo object carries some keys before its picKey (is_video)
// and some after it (raw, video_info), and only videos have video_info. So the answer
// is cut into spans at every boundary between two objects: a "}" followed, blanks
// aside, by "," and "{" (the video_info object inside a photo is followed by a key,
// never by "{", so it does not cut). A photo takes its fields from the span that holds
// its marker, each from the first marker of its key in that span:
// - picKey: the scalar value after its marker (ScalarPieceValue);
// - raw: the scalar value of "raw", every "\/" turned into "/";
// - isVideo: "is_video" is true, 1 or "1" (IsSetFlag);
// - videoStatus, downloadUrl, videoUrl: "status" (a whole number, else 0),
//   "download_url" and "video_url" between the braces that follow "video_info",
//   addresses with every "\/" turned into "/"; 0 and empty without video_info.
// A span with several picKey markers (objects not separated as above) cannot tell
// whose fields are whose: its photos get their picKey and nothing else. A name holding
// the boundary text cuts its own photo's span and can lose that photo the fields
// written before the cut; it never hands them to another photo.
// The cost is linear in the answer's length.
QList<FloatviewPhoto> ParseFloatview(const QString &answer);

} // namespace albivex
