#pragma once

#include "qzone/BoardReply.h"

#include <QList>
#include <QString>

namespace albivex {

// One message of a space's 留言板, as its own item of "commentList" gives it. Every
// field stays empty (false) when the item lacks the key; none is ever taken from
// another message. Texts are decoded; UBB codes stay as written (BoardPlainText).
struct BoardMessage
{
    QString id; // the message's lasting key on its board
    QString uin; // who wrote it
    QString nickname;
    bool secret = false; // private: the service gives its text to the owner and writer only
    QString pubtime; // as written: Unix seconds, or the date as the page shows it
    QString modifytime;
    QString ubbContent;
    QString htmlContent;
    QList<BoardReply> replies; // "replyList", as listed
};

} // namespace albivex
