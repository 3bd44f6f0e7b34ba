#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

class QThreadPool;

namespace albivex {

// What one build of a space's offline album did.
struct GalleryBuildResult
{
    QString spaceFolder;
    int albums = 0; // album pages written
    int pictures = 0; // tiles on them
    int thumbnailsMade = 0;
    int thumbnailsKept = 0;
    int undecodable = 0; // pictures shown as a plain tile
    int moods = 0; // posts on the posts' pages
    int moodPages = 0; // posts' pages written
    int boardMessages = 0; // messages on the board's pages
    int boardPages = 0; // board pages written
    bool stopped = false; // `stop` was seen; the space page is left as it was
    QStringList errors; // one line per file that could not be written
};

// Builds the offline album of a space folder (save folder / QQ number) from the
// album.json of each of its album folders: the thumbnails (UpdateThumbnail) in each
// album's hidden folder, each album's page (AlbumPageHtml) in its folder, and the space
// page (SpacePageHtml) in the space folder, each written whole or not at all. Folders
// without a readable album.json are left out; so are entries whose file is gone. The
// first folder (by name) whose moods.json holds posts is the posts' folder, whatever
// its name, and gets the posts' pages (BuildMoodPages); likewise the first whose
// board.json holds messages gets the board's pages (BuildBoardPages). With no album,
// posts or board, no space page is written. Albums go newest first (creation time),
// then by name.
//
// Blocking file and image work, for a worker thread; `stop` is looked at before every
// picture (and every posts' or board page), and a set flag ends the build at once (the
// pages written so far stay). The thumbnails of an album are made on `thumbnailPool`'s
// threads, the calling one helping, or one after another on the calling thread without
// a pool. Give it a pool of its own, not the global one: with the global pool's threads
// all making thumbnails, the window's thread stalled for 100-200 ms at a time.
GalleryBuildResult BuildGallery(const QString &spaceFolder, const std::atomic_bool &stop,
                                QThreadPool *thumbnailPool = nullptr);

} // namespace albivex
