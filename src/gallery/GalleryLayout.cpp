#include "gallery/GalleryLayout.h"

#include "storage/SaveLayout.h"

#include <QCryptographicHash>
#include <QUrl>

namespace albivex {

QString ThumbFileName(const QString &pictureFile)
{
    const QString plain = pictureFile + QStringLiteral(".jpg");
    if (Utf8Size(plain) <= MaxNameBytes)
        return plain;
    // A name near the file system's limit has no room for the suffix: its digest
    // stands in, as unique as the names are.
    return QString::fromLatin1(
               QCryptographicHash::hash(pictureFile.toUtf8(), QCryptographicHash::Sha1).toHex())
        + QStringLiteral(".jpg");
}

QString MoodPageName(int page)
{
    if (page <= 1)
        return QStringLiteral("moods.html");
    return QStringLiteral("moods-%1.html").arg(page);
}

QString BoardPageName(int page)
{
    if (page <= 1)
        return QStringLiteral("board.html");
    return QStringLiteral("board-%1.html").arg(page);
}

QString RelativeAddress(const QStringList &segments)
{
    QStringList encoded;
    encoded.reserve(segments.size());
    for (const QString &segment : segments)
        encoded << QString::fromLatin1(QUrl::toPercentEncoding(segment));
    return encoded.join(QLatin1Char('/'));
}

} // namespace albivex
