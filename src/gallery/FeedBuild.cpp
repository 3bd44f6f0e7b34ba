#include "gallery/FeedBuild.h"

#include "gallery/GalleryLayout.h"
#include "gallery/GalleryPageFile.h"
#include "gallery/Thumbnails.h"

#include <QFile>
#include <QFileInfo>

namespace albivex {

std::optional<FilesShown> ShowFolderFiles(const QString &folder, const QStringList &stills,
                                          const QStringList &videos, const std::atomic_bool &stop,
                                          QThreadPool *thumbnailPool, GalleryBuildResult &result)
{
    const std::vector<ThumbnailOutcome> outcomes = UpdateThumbnails(folder, stills, stop, thumbnailPool);
    if (stop)
        return std::nullopt;
    FilesShown shown;
    for (qsizetype i = 0; i < stills.size(); ++i) {
        switch (outcomes[static_cast<size_t>(i)]) {
        case ThumbnailOutcome::Missing:
            break;
        case ThumbnailOutcome::Made:
            ++result.thumbnailsMade;
            shown.insert(stills.at(i), GalleryTile::Kind::Thumbnail);
            break;
        case ThumbnailOutcome::Kept:
            ++result.thumbnailsKept;
            shown.insert(stills.at(i), GalleryTile::Kind::Thumbnail);
            break;
        case ThumbnailOutcome::Undecodable:
            ++result.undecodable;
            shown.insert(stills.at(i), GalleryTile::Kind::Plain);
            break;
        case ThumbnailOutcome::Failed:
            result.errors << folder + QLatin1Char('/') + ThumbFolderName() + QLatin1Char('/')
                    + ThumbFileName(stills.at(i));
            shown.insert(stills.at(i), GalleryTile::Kind::Plain);
            break;
        }
    }
    for (const QString &video : videos) {
        if (QFileInfo(folder + QLatin1Char('/') + video).isFile())
            shown.insert(video, GalleryTile::Kind::Video);
    }
    return shown;
}

std::optional<int> WriteFeedPages(const QString &folder, int pageCount, QString (*pageName)(int),
                                  const std::function<QString(int)> &pageHtml, const std::atomic_bool &stop,
                                  QStringList &errors)
{
    int written = 0;
    for (int page = 1; page <= pageCount; ++page) {
        if (stop)
            return std::nullopt;
        if (WriteGalleryPage(folder + QLatin1Char('/') + pageName(page), pageHtml(page), errors))
            ++written;
    }
    int stale = pageCount + 1;
    while (QFile::remove(folder + QLatin1Char('/') + pageName(stale)))
        ++stale;
    return written;
}

} // namespace albivex
