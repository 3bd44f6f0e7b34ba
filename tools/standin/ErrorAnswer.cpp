#include "standin/ErrorAnswer.h"

#include "standin/AnswerText.h"

namespace albivex::standin {

QString ErrorAnswer::message(int code)
{
    switch (code) {
    case NotSignedIn:
        return QStringLiteral("请先登录空间");
    case ClosedSpace:
        return QStringLiteral("对不起，您没有权限访问该空间的相册");
    case TooFrequent:
        return QStringLiteral("操作过于频繁，请稍后再试");
    case AlbumMissing:
        return QStringLiteral("相册不存在或已被删除");
    case PhotoMissing:
        return QStringLiteral("照片不存在或已被删除");
    case WrongAnswer:
        return QStringLiteral("回答错误");
    case NoAccess:
        return QStringLiteral("对不起，您没有权限访问该相册");
    case MoodsRefused:
        return QStringLiteral("由于对方权限设置，您不能进行此操作");
    case MoodsSecret:
        return QStringLiteral("主人设置保密");
    case MoodMissing:
        return QStringLiteral("该说说已被删除");
    default:
        return QStringLiteral("服务器繁忙，请稍后再试");
    }
}

QString ErrorAnswer::of(const QString &callback, int code)
{
    return AnswerText::error(callback, code, code == NotSignedIn ? NotSignedInSubcode : code, message(code));
}

} // namespace albivex::standin
