#include "gallery/MoodGalleryBuild.h"

#include "gallery/GalleryLayout.h"
#include "gallery/GalleryPageFile.h"
#include "gallery/MoodPages.h"
#include "gallery/Thumbnails.h"
#include "storage/MoodDocumentUpdate.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace albivex {

namespace {

// Every file the posts name, their own and their comments' and replies', once each.
void CollectFiles(const QList<MoodDocumentFile> &files, QSet<QString> &seen, QStringList &stills,
                  QStringList &videos)
{
    for (const MoodDocumentFile &file : files) {
        if (seen.contains(file.file))
            continue;
        seen.insert(file.file);
        (file.video ? videos : stills) << file.file;
    }
}

void CollectFiles(const QList<MoodDocumentComment> &comments, QSet<QString> &seen, QStringList &stills,
                  QStringList &videos)
{
    for (const MoodDocumentComment &comment : comments) {
        CollectFiles(comment.files, seen, stills, videos);
        CollectFiles(comment.replies, seen, stills, videos);
    }
}

} // namespace

std::optional<GalleryMoodCard> BuildMoodPages(const QString &folderName, const QString &folder,
                                              const std::atomic_bool &stop, QThreadPool *thumbnailPool,
                                              GalleryBuildResult &result)
{
    if (!QFileInfo(folder + QLatin1Char('/') + MoodDocumentFileName()).isFile())
        return std::nullopt;
    QList<MoodDocumentEntry> posts = LoadMoodDocument(folder).document.moods;
    if (posts.isEmpty())
        return std::nullopt;
    SortMoodEntries(posts);

    QSet<QString> seen;
    QStringList stills;
    QStringList videos;
    for (const MoodDocumentEntry &post : std::as_const(posts)) {
        CollectFiles(post.files, seen, stills, videos);
        CollectFiles(post.comments, seen, stills, videos);
    }
    const std::vector<ThumbnailOutcome> outcomes = UpdateThumbnails(folder, stills, stop, thumbnailPool);
    if (stop)
        return std::nullopt;
    MoodFilesShown shown;
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
    for (const QString &video : std::as_const(videos)) {
        if (QFileInfo(folder + QLatin1Char('/') + video).isFile())
            shown.insert(video, GalleryTile::Kind::Video);
    }

    GalleryMoodCard card;
    card.folderName = folderName;
    card.posts = static_cast<int>(posts.size());
    for (const MoodDocumentEntry &post : std::as_const(posts)) {
        for (const MoodDocumentFile &file : post.files) {
            if (card.coverThumb.isEmpty()
                && shown.value(file.file, GalleryTile::Kind::Plain) == GalleryTile::Kind::Thumbnail)
                card.coverThumb = ThumbFileName(file.file);
        }
        if (!card.coverThumb.isEmpty())
            break;
    }

    const int pageCount = (card.posts + MoodPostsPerPage - 1) / MoodPostsPerPage;
    for (int page = 1; page <= pageCount; ++page) {
        if (stop)
            return std::nullopt;
        const QList<MoodDocumentEntry> onPage = posts.mid((page - 1) * MoodPostsPerPage, MoodPostsPerPage);
        if (WriteGalleryPage(folder + QLatin1Char('/') + MoodPageName(page),
                             MoodPageHtml(onPage, shown, page, pageCount, card.posts), result.errors))
            ++result.moodPages;
    }
    // Fewer posts than before (moods.json read damaged): the old pages past the end
    // would still link to pages that no longer lead anywhere.
    int stale = pageCount + 1;
    while (QFile::remove(folder + QLatin1Char('/') + MoodPageName(stale)))
        ++stale;
    result.moods = card.posts;
    return card;
}

} // namespace albivex
