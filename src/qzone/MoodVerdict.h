#pragma once

#include "qzone/AnswerVerdict.h"

#include <QStringView>

namespace albivex {

// What a 说说 answer (list or detail), or a 留言板 list answer, means for the reading
// of a space: the two services refuse, shed load and time out sign-ins alike.
enum class MoodAnswer {
    Posts, // posts to read (possibly none)
    Refused, // the space does not let the viewer read its posts: stop, asking again won't help
    Expired, // the sign-in is no longer taken
    Busy, // the service turned the request away for now: ask again later
};

// From the verdict ReadAnswerVerdict gives the answer (its code and HTTP status) and
// the answer's top-level message (MoodListPage::message): Expired and Busy as the
// verdict says; otherwise Refused for any other negative code, or a message that says
// the owner keeps the space closed ("由于对方权限设置，您不能进行此操作", "主人设置保密"
// and the like, whatever the code); Posts else.
MoodAnswer ClassifyMoodAnswer(const AnswerVerdict &verdict, QStringView message);

// Whether a list page (说说 or 留言板) that gives `count` items at offset `pos` is the service
// shedding load rather than the end of the list: it gives none although the space's
// `total` (-1 when the answer gave none) says posts remain from pos on.
bool MoodPageLooksBusy(int pos, int total, int count);

} // namespace albivex
