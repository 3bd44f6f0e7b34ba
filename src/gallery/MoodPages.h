#pragma once

#include "gallery/FeedPageParts.h"
#include "storage/MoodDocument.h"

#include <QList>
#include <QString>

namespace albivex {

// The posts' pages of the offline album as text: pure functions over moods.json's
// entries. They keep the album pages' promises (GalleryPages.h): no script, no network,
// every text escaped (emoji codes such as [em]e100[/em] stay as they were written),
// every address relative and percent-encoded.

// Page `page` (from 1) of `pageCount` of a space's `totalPosts` posts, showing `posts`
// in their order: each with its time, source, text, pictures and videos, the post it
// passes on, its place, and its comments with their replies. Links lead back to the
// space page and, with more than one page, to the previous, next and every page.
QString MoodPageHtml(const QList<MoodDocumentEntry> &posts, const FilesShown &shown, int page, int pageCount,
                     int totalPosts);

} // namespace albivex
