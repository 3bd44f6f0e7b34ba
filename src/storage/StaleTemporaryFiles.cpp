#include "storage/StaleTemporaryFiles.h"

#include "storage/PictureSignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace albivex {

namespace {

// A transfer writes its file only once the first bytes show a picture.
bool beginsWithPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return CheckPictureSignature(file.read(PictureSignatureLength), true) == PictureSignature::Picture;
}

} // namespace

bool IsTransferTemporaryName(const QString &fileName)
{
    static const QRegularExpression temporary(QStringLiteral("^.+\\.jpg\\.[A-Za-z0-9]{6}$"));
    return temporary.match(fileName).hasMatch();
}

int RemoveStaleTemporaryFiles(const QString &folder, qint64 minimumAgeMs, const QDateTime &now)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    const QDir dir(folder);
    const QFileInfoList files
        = dir.entryInfoList({QStringLiteral("*.jpg.??????")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &file : files) {
        if (!IsTransferTemporaryName(file.fileName()))
            continue;
        if (file.lastModified().msecsTo(now) < minimumAgeMs || !beginsWithPicture(file.filePath()))
            continue;
        if (QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace albivex
