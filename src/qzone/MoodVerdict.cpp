#include "qzone/MoodVerdict.h"

#include <QString>

namespace albivex {

MoodAnswer ClassifyMoodAnswer(const AnswerVerdict &verdict, QStringView message)
{
    if (verdict.state == AnswerState::Expired)
        return MoodAnswer::Expired;
    if (verdict.state == AnswerState::Busy)
        return MoodAnswer::Busy;
    // The words the service refuses a closed space with; the codes that come with
    // them vary.
    static const QString closedWords[]
        = {QStringLiteral("权限"), QStringLiteral("保密"), QStringLiteral("不能进行此操作")};
    for (const QString &words : closedWords) {
        if (message.contains(words))
            return MoodAnswer::Refused;
    }
    return verdict.code.value_or(0) < 0 ? MoodAnswer::Refused : MoodAnswer::Posts;
}

bool MoodPageLooksBusy(int pos, int total, int count)
{
    return count == 0 && pos >= 0 && pos < total;
}

} // namespace albivex
