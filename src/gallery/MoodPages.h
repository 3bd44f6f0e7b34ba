#pragma once

#include "gallery/GalleryPages.h"
#include "storage/MoodDocument.h"

#include <QHash>
#include <QList>
#include <QString>

namespace albivex {

// The posts' pages of the offline album as text: pure functions over moods.json's
// entries. They keep the album pages' promises (GalleryPages.h): no script, no network,
// every text escaped (emoji codes such as [em]e100[/em] stay as they were written),
// every address relative and percent-encoded.

// How each saved file of the posts' folder shows, by its name: a picture Qt reads as
// its thumbnail (ThumbFileName, in the hidden thumbnail folder), one it cannot as a
// plain link, a video in the page. A file named in moods.json but not here (gone from
// the disk) is left out.
using MoodFilesShown = QHash<QString, GalleryTile::Kind>;

// Page `page` (from 1) of `pageCount` of a space's `totalPosts` posts, showing `posts`
// in their order: each with its time, source, text, pictures and videos, the post it
// passes on, its place, and its comments with their replies. Links lead back to the
// space page and, with more than one page, to the previous, next and every page.
QString MoodPageHtml(const QList<MoodDocumentEntry> &posts, const MoodFilesShown &shown, int page,
                     int pageCount, int totalPosts);

} // namespace albivex
