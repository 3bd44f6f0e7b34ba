#pragma once

#include "qzone/MoodPicture.h"

#include <QList>
#include <QString>

namespace albivex {

// One comment under a 说说, or one reply to a comment (a comment's "list_3" items,
// read with the same keys; a reply holds no replies of its own). Fields stay empty
// (0) when the comment's own item lacks the key.
struct MoodComment
{
    QString tid; // the comment's number within its post
    QString uin; // who wrote it
    QString name;
    QString content; // decoded; emoji codes such as [em]e100[/em] kept as written
    qint64 createTime = 0; // "create_time", Unix seconds
    QString createText; // "createTime", the date as the page shows it
    QList<MoodPicture> pictures; // "pic"
    QList<MoodComment> replies; // "list_3"
};

} // namespace albivex
