#include "SavedFiles.h"

#include "storage/AlbumRecord.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace {

// What the offline album adds after every run: its pages, and thumbnails in a hidden
// folder. Built in the background, they would come and go under the checks.
const QString OfflineAlbumPage = QStringLiteral("index.html");

} // namespace

QStringList AllFilesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() != albivex::AlbumRecord::fileName() && it.fileName() != OfflineAlbumPage
            && !path.contains(QStringLiteral("/.thumbs/")))
            files << QDir(root).relativeFilePath(path);
    }
    files.sort();
    return files;
}

QStringList FilesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeAll(albivex::AlbumRecord::fileName());
    files.removeAll(OfflineAlbumPage);
    return files;
}

QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
