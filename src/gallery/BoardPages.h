#pragma once

#include "gallery/FeedPageParts.h"
#include "storage/BoardDocument.h"

#include <QList>
#include <QString>

namespace albivex {

// The message board's pages of the offline album as text: pure functions over
// board.json's entries, keeping the album pages' promises (GalleryPages.h): no script,
// no network (a picture's `from` address is never written), every text escaped (emoji
// codes such as [em]e100[/em] stay as they were written), every address relative and
// percent-encoded.

// Page `page` (from 1) of `pageCount` of a board of `totalMessages` messages, showing
// `messages` in their order: each with its writer's name and QQ number, its time (and
// when it was modified, when that differs), a mark on a private one (whose text may be
// missing: nothing stands in for it), its text with its line breaks, its pictures as
// `shown` says, and its replies with their writer, time and text. Links lead back to
// the space page and, with more than one page, to the previous, next and every page.
QString BoardPageHtml(const QList<BoardDocumentEntry> &messages, const FilesShown &shown, int page,
                      int pageCount, int totalMessages);

} // namespace albivex
