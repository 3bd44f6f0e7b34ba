#pragma once

#include <QDateTime>
#include <QString>

namespace albivex {

// The moment a picture was uploaded, from the upload time text of a photo-list answer:
// "yyyy-MM-dd HH:mm:ss" (also without seconds, or the date alone) in the services'
// own time (China Standard Time, UTC+8, which has no daylight saving), or a count of
// seconds since 1970. Anything else, or a moment before 1970 or in the future, gives
// an invalid QDateTime: the caller then leaves the file's time alone.
QDateTime ParseUploadTime(const QString &text, const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace albivex
