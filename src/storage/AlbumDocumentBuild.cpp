#include "storage/AlbumDocumentBuild.h"

#include "storage/AlbumRecord.h"
#include "storage/PictureTime.h"
#include "storage/UploadTime.h"

namespace albivex {

AlbumDocument AlbumDocumentOf(const AlbumEntry &album, const QString &ownerUin)
{
    AlbumDocument document;
    document.id = album.albumId;
    document.name = album.fullName;
    document.description = album.fullDescription;
    if (album.createTime > 0)
        document.createTime = QDateTime::fromSecsSinceEpoch(album.createTime, Qt::UTC);
    document.ownerUin = ownerUin;
    bool counted = false;
    const int count = album.pictureCount.trimmed().toInt(&counted);
    document.pictureCount = counted && count >= 0 ? count : -1;
    return document;
}

AlbumDocumentPicture AlbumDocumentPictureOf(const PhotoEntry &photo, const QString &file,
                                            std::optional<bool> original)
{
    AlbumDocumentPicture picture;
    picture.lloc = PictureRecordKey(photo);
    picture.file = file;
    picture.name = photo.fullName;
    picture.caption = photo.fullDescription;
    picture.uploadTime = ParseUploadTime(photo.uploadTime);
    picture.shootTime = PictureShootTime(photo);
    picture.width = photo.width > 0 ? photo.width : -1;
    picture.height = photo.height > 0 ? photo.height : -1;
    picture.place = photo.place;
    picture.cameraType = photo.cameraType;
    for (const auto &[key, value] : photo.exif) {
        if (key == QLatin1String("make"))
            picture.cameraMake = value;
        else if (key == QLatin1String("model"))
            picture.cameraModel = value;
        else if (!key.isEmpty() && !value.isEmpty())
            picture.exif.insert(key, value);
    }
    picture.commentCount = photo.commentCount;
    picture.original = original;
    picture.video = photo.isVideo;
    return picture;
}

QList<AlbumDocumentPicture> AlbumDocumentPicturesFromRecord(const QList<PhotoEntry> &photos,
                                                            const AlbumRecord &record,
                                                            const QSet<QString> &except)
{
    QList<AlbumDocumentPicture> pictures;
    for (const PhotoEntry &photo : photos) {
        const QString key = PictureRecordKey(photo);
        if (!key.isEmpty() && !except.contains(key) && record.isSaved(key))
            pictures.append(AlbumDocumentPictureOf(photo, record.fileNameOf(key), std::nullopt));
    }
    return pictures;
}

PictureWords PictureWordsOf(const PhotoEntry &photo)
{
    return PictureWords {PictureShootTime(photo), photo.fullDescription, photo.fullName};
}

} // namespace albivex
