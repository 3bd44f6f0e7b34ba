#include "storage/PictureTime.h"

#include "storage/UploadTime.h"

#include <QTimeZone>

namespace albivex {

namespace {

// 1990-01-01 00:00 in the services' time.
const QDateTime EarliestShot(QDate(1990, 1, 1), QTime(0, 0), QTimeZone(8 * 3600));

} // namespace

QDateTime ParseShootTime(const QString &text, const QDateTime &now)
{
    QString t = text.trimmed();
    // The exif form differs only in the date's separators.
    if (t.size() >= 10 && t.at(4) == QLatin1Char(':') && t.at(7) == QLatin1Char(':')) {
        t[4] = QLatin1Char('-');
        t[7] = QLatin1Char('-');
    }
    const QDateTime shot = ParseUploadTime(t, now);
    if (!shot.isValid() || shot < EarliestShot || shot > now)
        return QDateTime();
    return shot;
}

QDateTime PictureShootTime(const PhotoEntry &photo, const QDateTime &now)
{
    QDateTime time = ParseShootTime(photo.shootTime, now);
    for (auto it = photo.exif.cbegin(); !time.isValid() && it != photo.exif.cend(); ++it) {
        if (it->first == QLatin1String("originalTime"))
            time = ParseShootTime(it->second, now);
    }
    return time;
}

QDateTime PictureFileTime(const PhotoEntry &photo, const QDateTime &now)
{
    const QDateTime shot = PictureShootTime(photo, now);
    return shot.isValid() ? shot : ParseUploadTime(photo.uploadTime, now);
}

} // namespace albivex
