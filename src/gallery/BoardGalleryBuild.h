#pragma once

#include "gallery/GalleryBuild.h"
#include "gallery/GalleryPages.h"

#include <QString>

#include <atomic>
#include <optional>

class QThreadPool;

namespace albivex {

// Builds the message board's pages of one folder of a space, when it holds a
// board.json with at least one message: the thumbnails of the messages' pictures
// (UpdateThumbnails) in the folder's hidden folder, then the pages (BoardPageHtml,
// BoardPageName), newest message first, BoardMessagesPerPage to a page, each written
// whole or not at all; pages of an earlier, longer build beyond the last are removed.
// Counts go to `result`. The card for the space page; nothing when the folder holds no
// messages or `stop` was seen (looked at before every picture and every page).
// Blocking file and image work, for a worker thread.
std::optional<GalleryBoardCard> BuildBoardPages(const QString &folderName, const QString &folder,
                                                const std::atomic_bool &stop, QThreadPool *thumbnailPool,
                                                GalleryBuildResult &result);

} // namespace albivex
