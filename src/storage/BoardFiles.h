#pragma once

#include "qzone/BoardMessage.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace albivex {

// Where a space's 留言板 (message board) goes on disk, and the names of its pictures.
// The folder yields to the albums as the posts' folder does (MoodFiles.h): 留言板
// unless an album holds that name, else "留言板 (2)", ... A message's pictures are
// named by its time (China's time) and the head of the SHA-1 of its id, so that a
// message keeps its names from run to run:
//   2023-05-01_142305_1a2b3c4d_01.jpg

inline QString BoardFolderBaseName()
{
    return QStringLiteral("留言板");
}

// A time the board's answer gives (pubtime, modifytime, a reply's time): all digits
// are Unix seconds, any other text the date as the page shows it (ParseUploadTime);
// at +08:00, invalid when it says none.
QDateTime BoardTime(const QString &text);

// save folder / owner / the board's folder; nothing is made. Empty when the save folder
// or the owner is empty.
QString BoardFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames);

// The message's `number`th picture (from 1): "2023-05-01_142305_1a2b3c4d_01" + extension.
QString BoardPictureFileName(const BoardMessage &message, int number, const QString &extension);

} // namespace albivex
