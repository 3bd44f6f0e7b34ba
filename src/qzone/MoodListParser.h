#pragma once

#include "qzone/MoodListPage.h"

#include <QString>

namespace albivex {

// Reads the answers of the 说说 services item by item (ListItems.h): every object of
// the "msglist" array is one post, every object of a post's "pic", "video" and
// "commentlist" arrays and of a comment's "pic" and "list_3" arrays one picture,
// video, comment or reply, and each takes its values from its own object only,
// whatever keys it lacks or adds. The answer may come in any JSONP wrapper or as bare
// JSON; the lenient reading of ListItems holds (a damaged text costs that value).
//
// Value rules, for every key:
// - a text is the string's whole text with its escapes decoded (DecodeJsonText); a
//   number, true or false as written; null, undefined or a block gives an empty text;
// - a number is the whole number the value (string or not) starts with, blanks
//   aside; 0 (-1 for total and msgnum) when it starts with none or does not fit;
// - a flag is set by true or a non-zero number (1, "1").
// The cost is linear in the answer's length, times the depth of the nesting (at most
// four arrays: msglist, commentlist, list_3, pic).

// The list answer: the top-level code, subcode, message and total, "usrinfo"'s
// msgnum, and the posts of every "msglist" array (null, or no list, gives none).
MoodListPage ParseMoodList(const QString &answer);

// The detail answer: the same header, and the one post whose keys stand at the top
// level beside it; no post when the top level gives no "tid". total and postCount
// stay -1.
MoodListPage ParseMoodDetail(const QString &answer);

// Whether the list gave the post short, so that it must be asked in full
// (MoodDetailUrl): it counts more pictures than it lists, or its text was cut.
bool MoodNeedsDetail(const MoodPost &post);

} // namespace albivex
