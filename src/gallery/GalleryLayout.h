#pragma once

#include "storage/SaveLayout.h" // SpaceFolderPath

#include <QString>
#include <QStringList>

namespace albivex {

// Where the offline album lives inside a space folder (save folder / QQ number): the
// space's page, one page per album folder, and each album's thumbnails in a hidden
// folder beside its pictures. Pure functions; nothing here touches the disk.

// The page's file name, in the space folder and in every album folder alike.
inline QString GalleryPageName()
{
    return QStringLiteral("index.html");
}

// The album folder's hidden folder of thumbnails.
inline QString ThumbFolderName()
{
    return QStringLiteral(".thumbs");
}

// The thumbnail of a picture file: its whole name + ".jpg", so that pictures of one
// folder (whose names differ) never share one; a name too long for that, its digest.
QString ThumbFileName(const QString &pictureFile);

// A relative address for href/src: each segment percent-encoded whole (a '#', '%', '?',
// blank, '/' or any non-ASCII character in a name stays part of that name), joined by
// '/'. Plain ASCII letters, digits and "-._~" stay as they are.
QString RelativeAddress(const QStringList &segments);

} // namespace albivex
