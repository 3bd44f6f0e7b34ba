#pragma once

#include "qzone/PhotoEntry.h"

#include <QDateTime>
#include <QString>

namespace albivex {

// When a picture was taken, from a shooting time the listing gives: "yyyy-MM-dd
// HH:mm:ss" (rawshoottime), "yyyy:MM:dd HH:mm:ss" (the exif's originalTime), either
// without seconds, or seconds since 1970, in the services' time (UTC+8). Cameras with
// an unset clock write "0" or 1970s and 1980s dates, and some write dates still to
// come, so a moment before 1990 or after `now` gives an invalid QDateTime, as does
// anything that is no such time.
QDateTime ParseShootTime(const QString &text, const QDateTime &now = QDateTime::currentDateTimeUtc());

// The picture's shooting time when the listing gives a plausible one: rawshoottime,
// else the exif's originalTime; invalid otherwise.
QDateTime PictureShootTime(const PhotoEntry &photo, const QDateTime &now = QDateTime::currentDateTimeUtc());

// The picture's shooting time when the listing gives a plausible one (rawshoottime,
// else the exif's originalTime), else its upload time (ParseUploadTime); invalid when
// neither holds, and the file keeps the time of its writing.
QDateTime PictureFileTime(const PhotoEntry &photo, const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace albivex
