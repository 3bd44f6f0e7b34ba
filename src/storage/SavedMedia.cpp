#include "storage/SavedMedia.h"

#include "storage/PictureSignature.h"
#include "storage/VideoSignature.h"

#include <QFile>

namespace albivex {

bool BeginsLikeSavedMedia(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(PictureSignatureLength);
    return CheckPictureSignature(head, true) == PictureSignature::Picture
        || CheckVideoSignature(head, true) == VideoSignature::Video;
}

} // namespace albivex
