#include "storage/SaveFolder.h"

#include <QDir>
#include <QFileInfo>

namespace albivex {

namespace {

bool ensureFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return info.isWritable();
    return QDir().mkpath(path);
}

} // namespace

QString DefaultSaveFolder(const QString &programFolder, const QString &picturesFolder)
{
    const QString beside = QDir(programFolder).filePath(SaveFolderName());
    if (ensureFolder(beside) || picturesFolder.isEmpty())
        return QDir::toNativeSeparators(beside);
    const QString inPictures = QDir(picturesFolder).filePath(SaveFolderName());
    if (ensureFolder(inPictures))
        return QDir::toNativeSeparators(inPictures);
    return QDir::toNativeSeparators(beside);
}

} // namespace albivex
