#pragma once

#include "storage/AlbumDocument.h"

#include <QList>
#include <QString>

namespace albivex {

// The offline album's pages as text. Pure functions over what the album folders hold.
//
// The pages promise to work from file:// with no network at all: one inline style
// sheet, no script, no remote font or picture, and a Content-Security-Policy that
// forbids every script and every address but local files. Every text that came from
// the service (names, descriptions, captions, places) is HTML-escaped, quotes too, and
// every file address is relative and percent-encoded segment by segment
// (RelativeAddress), so names holding '#', '%', '?', blanks or Chinese reach their file.

// One picture of an album page, in list order.
struct GalleryTile
{
    enum class Kind {
        Thumbnail, // a picture Qt reads: its thumbnail, a click opens the picture
        Plain, // a picture Qt cannot read: its name and a link to the file
        Video, // plays in the page, with a link to the file
    };
    Kind kind = Kind::Plain;
    AlbumDocumentPicture picture; // picture.file is a plain name in the album folder
    QString thumbFile; // for Thumbnail: its name in the hidden thumbnail folder
};

// One album of the space page.
struct GalleryCard
{
    QString folderName; // the album folder's name on disk
    AlbumDocument album; // its pictures are not read
    int savedCount = 0; // the pictures its page shows
    QString coverThumb; // a thumbnail in the album's thumbnail folder; empty for none
};

// The space's posts on the space page: their folder and how many there are.
struct GalleryMoodCard
{
    QString folderName; // the posts' folder's name on disk
    int posts = 0; // 0: the space has none, no card
    QString coverThumb; // a thumbnail in the posts' thumbnail folder; empty for none
};

// The space's message board on the space page: its folder and how many messages.
struct GalleryBoardCard
{
    QString folderName; // the board's folder's name on disk
    int messages = 0; // 0: the space has none, no card
    QString coverThumb; // a thumbnail in the board's thumbnail folder; empty for none
};

// Text for a page: `text` with & < > " and ' escaped.
QString HtmlText(const QString &text);

// The album folder's page: the album's name and description, then its tiles, each with
// the picture's name, caption, shooting time (else upload time) and place.
QString AlbumPageHtml(const AlbumDocument &album, const QList<GalleryTile> &tiles);

// The space folder's page: the posts as a card "说说" and the message board as a card
// "留言板", each with its count and linking to its first page, when there are any;
// then every album as a card with its cover, name,
// description and picture count, linking to the album's page.
QString SpacePageHtml(const QString &ownerUin, const QList<GalleryCard> &cards,
                      const GalleryMoodCard &moods = {}, const GalleryBoardCard &board = {});

// Every page's start (up to and with <body>, title escaped, the shared style sheet and
// then `extraStyle`, which must be trusted text) and end.
QString GalleryPageStart(const QString &title, const QString &extraStyle = QString());
QString GalleryPageEnd();

} // namespace albivex
