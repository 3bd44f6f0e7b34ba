#pragma once

#include "gallery/GalleryBuild.h"
#include "gallery/GalleryPages.h"

#include <QString>

#include <atomic>
#include <optional>

class QThreadPool;

namespace albivex {

// Builds the posts' pages of one folder of a space, when it holds a moods.json with at
// least one post: the thumbnails of the posts' and comments' pictures (UpdateThumbnails)
// in the folder's hidden folder, then the pages (MoodPageHtml, MoodPageName), newest
// post first, MoodPostsPerPage to a page, each written whole or not at all; pages of an
// earlier, longer build beyond the last are removed. Counts go to `result`. The card for
// the space page; nothing when the folder holds no posts or `stop` was seen (looked at
// before every picture and every page, so 10,000 posts stop within one page's work).
// Blocking file and image work, for a worker thread.
std::optional<GalleryMoodCard> BuildMoodPages(const QString &folderName, const QString &folder,
                                              const std::atomic_bool &stop, QThreadPool *thumbnailPool,
                                              GalleryBuildResult &result);

} // namespace albivex
