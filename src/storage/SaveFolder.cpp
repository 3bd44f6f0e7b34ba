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

// Folders a package manager or an administrator installs programs into. The program's
// folder is compared as the system resolves it, so /bin on a merged /usr counts too.
bool isSystemLocation(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
    static const char *const systemRoots[]
        = {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/opt", "/snap"};
    for (const char *root : systemRoots) {
        const QString prefix = QLatin1String(root);
        if (path == prefix || path.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

} // namespace

QString DefaultSaveFolder(const QString &programFolder, const QString &picturesFolder)
{
    const QString beside = QDir(programFolder).filePath(SaveFolderName());
    const QString inPictures
        = QDir(picturesFolder.isEmpty() ? QDir::homePath() : picturesFolder).filePath(SaveFolderName());
    if (isSystemLocation(programFolder)) {
        ensureFolder(inPictures);
        return QDir::toNativeSeparators(inPictures);
    }
    if (ensureFolder(beside) || picturesFolder.isEmpty())
        return QDir::toNativeSeparators(beside);
    if (ensureFolder(inPictures))
        return QDir::toNativeSeparators(inPictures);
    return QDir::toNativeSeparators(beside);
}

bool IsWritableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace albivex
