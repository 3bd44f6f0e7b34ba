#pragma once

#include "qzone/AlbumEntry.h"
#include "qzone/PhotoEntry.h"
#include "storage/AlbumDocument.h"
#include "storage/PictureMetadata.h"

#include <QSet>

namespace albivex {

class AlbumRecord;

// album.json's values from what the listings say. Texts are the whole decoded ones
// (fullName, fullDescription); what the listing left empty stays unknown.

// The album's own values, for the space `ownerUin`; writtenAt is the writer's to set.
AlbumDocument AlbumDocumentOf(const AlbumEntry &album, const QString &ownerUin);

// The entry of `photo`, saved whole as `file` (from its original upload or not, when
// known): times in the services' time, the shooting time only when plausible
// (PictureShootTime); the exif's make and model as the camera's, its other values kept.
AlbumDocumentPicture AlbumDocumentPictureOf(const PhotoEntry &photo, const QString &file,
                                            std::optional<bool> original);

// The entries of the listed pictures that `record` holds as saved whole, in list order,
// but for the keys in `except`: what a damaged or missing album.json is rebuilt from.
// Whether each came from the original upload is not recorded, so it stays unknown.
QList<AlbumDocumentPicture> AlbumDocumentPicturesFromRecord(const QList<PhotoEntry> &photos,
                                                            const AlbumRecord &record,
                                                            const QSet<QString> &except = {});

// The words "写入照片信息" writes into the saved picture of `photo`: its plausible
// shooting time, its whole caption and name.
PictureWords PictureWordsOf(const PhotoEntry &photo);

} // namespace albivex
