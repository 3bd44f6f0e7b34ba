#include "catalogue/AlbumInfoText.h"

#include <QStringList>

namespace albivex {

QString AlbumInfoText(const AlbumEntry &album)
{
    return QStringList {QStringLiteral("相册名称：") + album.name,
                        QStringLiteral("创建时间：") + album.createdText,
                        QStringLiteral("图片数量：") + album.pictureCount + QStringLiteral("张"),
                        QStringLiteral("相册描述：") + album.description}
        .join(QStringLiteral("\r\n"));
}

} // namespace albivex
