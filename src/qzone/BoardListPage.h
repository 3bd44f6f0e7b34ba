#pragma once

#include "qzone/BoardMessage.h"

#include <QList>
#include <QString>

#include <optional>

namespace albivex {

// One page of a 留言板 list answer: what it says of the request, and its messages.
struct BoardListPage
{
    std::optional<int> code; // the top-level "code", when a whole number
    int subcode = 0;
    QString message; // the top-level "message", decoded
    int total = -1; // "data" "total": the board's message count; -1 when not given or below 0
    QList<BoardMessage> messages; // the objects of "commentList", in answer order
};

} // namespace albivex
