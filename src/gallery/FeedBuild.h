#pragma once

#include "gallery/FeedPageParts.h"
#include "gallery/GalleryBuild.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

class QThreadPool;

namespace albivex {

// The disk work the posts' pages and the board's pages share. Blocking file and image
// work, for a worker thread.

// Makes the thumbnails (UpdateThumbnails) of the pictures `stills`, plain names in
// `folder`, and says how each of them and of the videos `videos` shows: a picture as
// its thumbnail, or as a plain link when Qt cannot read it or its thumbnail could not
// be written (that one also goes to `result.errors`); a video when its file is there;
// a file gone from the disk not at all. The thumbnails made, kept and undecodable are
// counted in `result`. Nothing when `stop` was seen (looked at before every picture).
std::optional<FilesShown> ShowFolderFiles(const QString &folder, const QStringList &stills,
                                          const QStringList &videos, const std::atomic_bool &stop,
                                          QThreadPool *thumbnailPool, GalleryBuildResult &result);

// Writes the `pageCount` pages of `folder` named by `pageName`, each `pageHtml(page)`
// (page from 1), whole or not at all (errors to `errors`), then removes the pages an
// earlier, longer build left past the last one, which would still link to pages that
// no longer lead anywhere. The number written; nothing when `stop` was seen (looked at
// before every page).
std::optional<int> WriteFeedPages(const QString &folder, int pageCount, QString (*pageName)(int),
                                  const std::function<QString(int)> &pageHtml, const std::atomic_bool &stop,
                                  QStringList &errors);

} // namespace albivex
