#include "gallery/Thumbnails.h"

#include "gallery/GalleryLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace albivex {

namespace {

const QString SourceKey = QStringLiteral("AlbivexSource");

// The picture as the thumbnail remembers it. The modification time alone would not
// do: a saved picture's time is when it was taken, so a picture saved again in other
// bytes keeps it.
QString SourceStamp(const QFileInfo &picture)
{
    return QString::number(picture.size()) + QLatin1Char(' ')
        + QString::number(picture.lastModified().toMSecsSinceEpoch());
}

QSize ScaledSize(QSize size)
{
    if (!size.isValid() || (size.width() <= ThumbnailSide && size.height() <= ThumbnailSide))
        return size;
    return size.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace

ThumbnailOutcome UpdateThumbnail(const QString &picturePath, const QString &thumbPath)
{
    const QFileInfo picture(picturePath);
    if (!picture.isFile())
        return ThumbnailOutcome::Missing;
    const QString stamp = SourceStamp(picture);
    if (QFileInfo::exists(thumbPath) && QImageReader(thumbPath).text(SourceKey) == stamp)
        return ThumbnailOutcome::Kept;

    QImageReader reader(picturePath);
    reader.setAutoTransform(true);
    const QSize scaled = ScaledSize(reader.size());
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    QImage image = reader.read();
    if (image.isNull())
        return ThumbnailOutcome::Undecodable;
    // A format that cannot scale while reading gives the picture whole.
    if (image.width() > ThumbnailSide || image.height() > ThumbnailSide)
        image = image.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }

    // Written beside and renamed into place, never half there; but not synced to the
    // disk as QSaveFile would: a thumbnail that cannot be read back is made again from
    // its picture, so one lost to a power cut costs nothing, while a sync for every
    // picture made up most of an album's build.
    const QString partPath = thumbPath + QStringLiteral(".part");
    QFile file(partPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return ThumbnailOutcome::Failed;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(85);
    writer.setText(SourceKey, stamp);
    const bool written = writer.write(image) && file.flush();
    file.close();
    if (!written
        || std::rename(QFile::encodeName(partPath).constData(), QFile::encodeName(thumbPath).constData())
            != 0) {
        QFile::remove(partPath);
        return ThumbnailOutcome::Failed;
    }
    return ThumbnailOutcome::Made;
}

std::vector<ThumbnailOutcome> UpdateThumbnails(const QString &folder, const QStringList &files,
                                               const std::atomic_bool &stop, QThreadPool *pool)
{
    const QString thumbFolder = folder + QLatin1Char('/') + ThumbFolderName();
    QDir().mkpath(thumbFolder);
    // The pictures are independent: on a machine of two cores a pool halves the wait.
    std::vector<ThumbnailOutcome> outcomes(static_cast<size_t>(files.size()), ThumbnailOutcome::Missing);
    std::vector<int> indices(static_cast<size_t>(files.size()));
    std::iota(indices.begin(), indices.end(), 0);
    const auto make = [&](int i) {
        if (stop)
            return;
        const QString &file = files.at(i);
        outcomes[static_cast<size_t>(i)] = UpdateThumbnail(
            folder + QLatin1Char('/') + file, thumbFolder + QLatin1Char('/') + ThumbFileName(file));
    };
    if (pool)
        QtConcurrent::blockingMap(pool, indices, make);
    else
        std::for_each(indices.begin(), indices.end(), make);
    return outcomes;
}

} // namespace albivex
