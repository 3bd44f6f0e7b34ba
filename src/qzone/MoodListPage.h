#pragma once

#include "qzone/MoodPost.h"

#include <QList>
#include <QString>

#include <optional>

namespace albivex {

// One page of a 说说 list answer: what it says of the request, and its posts.
struct MoodListPage
{
    std::optional<int> code; // the top-level "code", when a whole number
    int subcode = 0;
    QString message; // the top-level "message", decoded
    int total = -1; // "total": the space's post count; -1 when not given or below 0
    int postCount = -1; // "usrinfo" "msgnum"; -1 when not given or below 0
    QList<MoodPost> posts; // the objects of "msglist", in answer order
};

} // namespace albivex
