#pragma once

#include <QString>

namespace albivex {

// One reply under a 留言板 message, as its own item of "replyList" gives it. Fields
// stay empty when the item lacks the key.
struct BoardReply
{
    QString uin; // who wrote it
    QString nick;
    QString time; // as written: Unix seconds, or the date as the page shows it
    QString content; // decoded, UBB codes kept
};

} // namespace albivex
