#include "storage/StaleTemporaryFiles.h"

#include "storage/SavedMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace albivex {

bool IsTransferTemporaryName(const QString &fileName)
{
    static const QRegularExpression temporary(
        QStringLiteral("^.+\\.(jpg|png|gif|webp|bmp|heic|mp4)\\.[A-Za-z0-9]{6}$"));
    return temporary.match(fileName).hasMatch();
}

int RemoveStaleTemporaryFiles(const QString &folder, qint64 minimumAgeMs, const QDateTime &now)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    const QDir dir(folder);
    const QFileInfoList files
        = dir.entryInfoList({QStringLiteral("*.??????")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &file : files) {
        if (!IsTransferTemporaryName(file.fileName()))
            continue;
        if (file.lastModified().msecsTo(now) < minimumAgeMs || !BeginsLikeSavedMedia(file.filePath()))
            continue;
        if (QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace albivex
