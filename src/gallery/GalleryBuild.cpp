#include "gallery/GalleryBuild.h"

#include "gallery/BoardGalleryBuild.h"
#include "gallery/GalleryLayout.h"
#include "gallery/GalleryPageFile.h"
#include "gallery/GalleryPages.h"
#include "gallery/MoodGalleryBuild.h"
#include "gallery/Thumbnails.h"
#include "storage/AlbumDocument.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace albivex {

namespace {

bool IsVideo(const AlbumDocumentPicture &picture)
{
    if (picture.video)
        return *picture.video;
    return picture.file.endsWith(QStringLiteral(".mp4"), Qt::CaseInsensitive);
}

// Thumbnails and page of one album folder; its card for the space page, nothing when
// the folder holds no album.json or the build was stopped.
std::optional<GalleryCard> BuildAlbum(const QString &folderName, const QString &albumFolder,
                                      const std::atomic_bool &stop, QThreadPool *thumbnailPool,
                                      GalleryBuildResult &result)
{
    const AlbumDocumentLoad load = LoadAlbumDocument(albumFolder);
    if (load.state != AlbumDocumentLoad::State::Read)
        return std::nullopt;
    const QString thumbFolder = albumFolder + QLatin1Char('/') + ThumbFolderName();

    // The thumbnails first, then the page.
    const QList<AlbumDocumentPicture> &pictures = load.document.pictures;
    std::vector<ThumbnailOutcome> outcomes(static_cast<size_t>(pictures.size()), ThumbnailOutcome::Missing);
    std::vector<int> stillAt;
    QStringList stills;
    for (int i = 0; i < pictures.size(); ++i) {
        if (!IsVideo(pictures.at(i))) {
            stillAt.push_back(i);
            stills << pictures.at(i).file;
        }
    }
    const std::vector<ThumbnailOutcome> made = UpdateThumbnails(albumFolder, stills, stop, thumbnailPool);
    if (stop)
        return std::nullopt;
    for (size_t k = 0; k < made.size(); ++k)
        outcomes[static_cast<size_t>(stillAt[k])] = made[k];

    GalleryCard card;
    card.folderName = folderName;
    card.album = load.document;
    QList<GalleryTile> tiles;
    for (int i = 0; i < pictures.size(); ++i) {
        const AlbumDocumentPicture &picture = pictures.at(i);
        const QString picturePath = albumFolder + QLatin1Char('/') + picture.file;
        GalleryTile tile;
        tile.picture = picture;
        if (IsVideo(picture)) {
            if (!QFileInfo(picturePath).isFile())
                continue;
            tile.kind = GalleryTile::Kind::Video;
        } else {
            tile.thumbFile = ThumbFileName(picture.file);
            switch (outcomes[static_cast<size_t>(i)]) {
            case ThumbnailOutcome::Missing:
                continue;
            case ThumbnailOutcome::Made:
                ++result.thumbnailsMade;
                tile.kind = GalleryTile::Kind::Thumbnail;
                break;
            case ThumbnailOutcome::Kept:
                ++result.thumbnailsKept;
                tile.kind = GalleryTile::Kind::Thumbnail;
                break;
            case ThumbnailOutcome::Undecodable:
                ++result.undecodable;
                tile.kind = GalleryTile::Kind::Plain;
                break;
            case ThumbnailOutcome::Failed:
                result.errors << thumbFolder + QLatin1Char('/') + tile.thumbFile;
                tile.kind = GalleryTile::Kind::Plain;
                break;
            }
        }
        if (card.coverThumb.isEmpty() && tile.kind == GalleryTile::Kind::Thumbnail)
            card.coverThumb = tile.thumbFile;
        tiles << tile;
    }
    card.savedCount = tiles.size();
    result.pictures += tiles.size();
    if (WriteGalleryPage(albumFolder + QLatin1Char('/') + GalleryPageName(),
                         AlbumPageHtml(load.document, tiles), result.errors))
        ++result.albums;
    return card;
}

bool NewerFirst(const GalleryCard &a, const GalleryCard &b)
{
    if (a.album.createTime.isValid() != b.album.createTime.isValid())
        return a.album.createTime.isValid();
    if (a.album.createTime != b.album.createTime)
        return a.album.createTime > b.album.createTime;
    return a.folderName.localeAwareCompare(b.folderName) < 0;
}

} // namespace

GalleryBuildResult BuildGallery(const QString &spaceFolder, const std::atomic_bool &stop,
                                QThreadPool *thumbnailPool)
{
    GalleryBuildResult result;
    result.spaceFolder = spaceFolder;
    const QDir space(spaceFolder);
    QList<GalleryCard> cards;
    GalleryMoodCard moods;
    GalleryBoardCard board;
    QString ownerUin = space.dirName();
    for (const QString &folderName :
         space.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        std::optional<GalleryCard> card
            = BuildAlbum(folderName, space.filePath(folderName), stop, thumbnailPool, result);
        if (moods.posts == 0 && !stop) {
            if (std::optional<GalleryMoodCard> found
                = BuildMoodPages(folderName, space.filePath(folderName), stop, thumbnailPool, result))
                moods = *found;
        }
        if (board.messages == 0 && !stop) {
            if (std::optional<GalleryBoardCard> found
                = BuildBoardPages(folderName, space.filePath(folderName), stop, thumbnailPool, result))
                board = *found;
        }
        if (stop) {
            result.stopped = true;
            return result;
        }
        if (!card)
            continue;
        if (!card->album.ownerUin.isEmpty())
            ownerUin = card->album.ownerUin;
        cards << *card;
    }
    if (cards.isEmpty() && moods.posts == 0 && board.messages == 0)
        return result;
    std::sort(cards.begin(), cards.end(), NewerFirst);
    WriteGalleryPage(space.filePath(GalleryPageName()), SpacePageHtml(ownerUin, cards, moods, board),
                     result.errors);
    return result;
}

} // namespace albivex
