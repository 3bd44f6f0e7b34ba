#pragma once

#include "standin/PictureMeta.h"

namespace albivex::standin {

// Shooting time, place, camera, exif values and comment count of a picture, fixed by its
// key so that every run and every test sees the same: each is missing on some pictures
// (rawshoottime also "0" on some, with the exif's originalTime as the only time on a few
// of those). `uploadSecs` is the picture's upload time; the shot is always before it.
void AddShotDetails(PictureMeta &meta, int key, qint64 uploadSecs);

} // namespace albivex::standin
