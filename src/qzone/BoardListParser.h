#pragma once

#include "qzone/BoardListPage.h"

#include <QString>

namespace albivex {

// Reads the 留言板 list answer item by item (ListItems.h): every object of a
// "commentList" array is one message and every object of a message's "replyList" one
// reply; each takes its values from its own object only, whatever keys it lacks or
// adds, by the value rules of ItemValues.h. The answer may come in any JSONP wrapper
// or as bare JSON. The top level gives code, subcode and message, and its "data" block
// the total (a count below zero counts as not given). Linear in the answer's length.
BoardListPage ParseBoardList(const QString &answer);

} // namespace albivex
