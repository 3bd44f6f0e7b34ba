#include "gallery/BoardGalleryBuild.h"

#include "gallery/BoardPages.h"
#include "gallery/FeedBuild.h"
#include "gallery/GalleryLayout.h"
#include "storage/BoardDocumentUpdate.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace albivex {

std::optional<GalleryBoardCard> BuildBoardPages(const QString &folderName, const QString &folder,
                                                const std::atomic_bool &stop, QThreadPool *thumbnailPool,
                                                GalleryBuildResult &result)
{
    if (!QFileInfo(folder + QLatin1Char('/') + BoardDocumentFileName()).isFile())
        return std::nullopt;
    QList<BoardDocumentEntry> messages = LoadBoardDocument(folder).document.messages;
    if (messages.isEmpty())
        return std::nullopt;
    // board.json is written newest first; one edited by hand need not be.
    std::stable_sort(messages.begin(), messages.end(),
                     [](const BoardDocumentEntry &a, const BoardDocumentEntry &b) {
                         if (a.time.isValid() != b.time.isValid())
                             return a.time.isValid();
                         return a.time > b.time;
                     });

    QSet<QString> seen;
    QStringList stills;
    for (const BoardDocumentEntry &message : std::as_const(messages)) {
        for (const BoardDocumentPicture &picture : message.pictures) {
            if (!seen.contains(picture.file)) {
                seen.insert(picture.file);
                stills << picture.file;
            }
        }
    }
    const std::optional<FilesShown> shownOrStop
        = ShowFolderFiles(folder, stills, QStringList(), stop, thumbnailPool, result);
    if (!shownOrStop)
        return std::nullopt;
    const FilesShown &shown = *shownOrStop;

    GalleryBoardCard card;
    card.folderName = folderName;
    card.messages = static_cast<int>(messages.size());
    for (const QString &still : std::as_const(stills)) {
        if (shown.value(still, GalleryTile::Kind::Plain) == GalleryTile::Kind::Thumbnail) {
            card.coverThumb = ThumbFileName(still);
            break;
        }
    }

    const int pageCount = (card.messages + BoardMessagesPerPage - 1) / BoardMessagesPerPage;
    const std::optional<int> written = WriteFeedPages(
        folder, pageCount, BoardPageName,
        [&](int page) {
            return BoardPageHtml(messages.mid((page - 1) * BoardMessagesPerPage, BoardMessagesPerPage), shown,
                                 page, pageCount, card.messages);
        },
        stop, result.errors);
    if (!written)
        return std::nullopt;
    result.boardPages += *written;
    result.boardMessages = card.messages;
    return card;
}

} // namespace albivex
