#pragma once

#include "gallery/GalleryPages.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

namespace albivex {

// The pieces the posts' pages and the board's pages share, as text: pure functions
// that keep the album pages' promises (GalleryPages.h): every text escaped, every
// address relative and percent-encoded, nothing that runs or reaches the network.

// How each saved file of a folder shows, by its name: a picture Qt reads as its
// thumbnail (ThumbFileName, in the hidden thumbnail folder), one it cannot as a plain
// link, a video in the page. A file not here (gone from the disk) is left out.
using FilesShown = QHash<QString, GalleryTile::Kind>;

// The style sheet of those pages, for GalleryPageStart's `extraStyle`.
QString FeedStyle();

// A page's start up to its header: the title (`heading`, and "第 N 页" after the
// first), the style sheet, a link back to the space page, `heading` and the count
// "共 `total` 条，第 `page` / `pageCount` 页".
QString FeedPageStart(const QString &heading, int total, int page, int pageCount);

// `text` escaped in a <div class="cssClass"> (white space kept by the style sheet for
// "body"); nothing for an empty text.
QString TextBlockHtml(const char *cssClass, const QString &text);

// "yyyy-MM-dd HH:mm" in the time's own offset; empty for an invalid time.
QString FeedTimeText(const QDateTime &time);

// A writer: the name, else the QQ number, escaped, in <span class="who">.
QString WhoHtml(const QString &name, const QString &uin);

// The files `files` (plain names in the page's folder), in that order, as `shown`
// says: a thumbnail that opens the file, a plain link, a video; those not in `shown`
// are left out. Empty when none shows.
QString MediaHtml(const QStringList &files, const FilesShown &shown);

// Links to the previous, the next and every page of `pageCount`, `page` (from 1) marked
// as the current one, each page's file named by `pageName`; empty for a single page.
QString PageLinksHtml(int page, int pageCount, QString (*pageName)(int));

} // namespace albivex
