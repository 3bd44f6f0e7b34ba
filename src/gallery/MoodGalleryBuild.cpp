#include "gallery/MoodGalleryBuild.h"

#include "gallery/FeedBuild.h"
#include "gallery/GalleryLayout.h"
#include "gallery/MoodPages.h"
#include "storage/MoodDocumentUpdate.h"

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
    const std::optional<FilesShown> shownOrStop
        = ShowFolderFiles(folder, stills, videos, stop, thumbnailPool, result);
    if (!shownOrStop)
        return std::nullopt;
    const FilesShown &shown = *shownOrStop;

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
    const std::optional<int> written = WriteFeedPages(
        folder, pageCount, MoodPageName,
        [&](int page) {
            return MoodPageHtml(posts.mid((page - 1) * MoodPostsPerPage, MoodPostsPerPage), shown, page,
                                pageCount, card.posts);
        },
        stop, result.errors);
    if (!written)
        return std::nullopt;
    result.moodPages += *written;
    result.moods = card.posts;
    return card;
}

} // namespace albivex
