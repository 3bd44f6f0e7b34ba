#pragma once

#include "storage/SaveLayout.h" // SpaceFolderPath

#include <QString>
#include <QStringList>

namespace albivex {

// Where the offline album lives inside a space folder (save folder / QQ number): the
// space's page, one page per album folder, and each album's thumbnails in a hidden
// folder beside its pictures. Pure functions; nothing here touches the disk.

// The page's file name, in the space folder and in every album folder alike.
inline QString GalleryPageName()
{
    return QStringLiteral("index.html");
}

// The album folder's hidden folder of thumbnails.
inline QString ThumbFolderName()
{
    return QStringLiteral(".thumbs");
}

// The posts' pages of the space's posts' folder (the folder holding moods.json):
// "moods.html", then "moods-2.html", "moods-3.html", ... Named apart from index.html so
// that they never meet an album's page, whatever folder the posts were given.
QString MoodPageName(int page);

// At most this many posts on one posts' page, newest first: 10,000 posts make 50 pages
// a browser opens at once, not one it chokes on.
inline constexpr int MoodPostsPerPage = 200;

// The board's pages of the space's board folder (the folder holding board.json):
// "board.html", then "board-2.html", ..., named apart from index.html as the posts' are.
QString BoardPageName(int page);

// At most this many messages on one board page, newest first.
inline constexpr int BoardMessagesPerPage = 200;

// The thumbnail of a picture file: its whole name + ".jpg", so that pictures of one
// folder (whose names differ) never share one; a name too long for that, its digest.
QString ThumbFileName(const QString &pictureFile);

// A relative address for href/src: each segment percent-encoded whole (a '#', '%', '?',
// blank, '/' or any non-ASCII character in a name stays part of that name), joined by
// '/'. Plain ASCII letters, digits and "-._~" stay as they are.
QString RelativeAddress(const QStringList &segments);

} // namespace albivex
