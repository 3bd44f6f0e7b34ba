#include "qzone/MoodRequest.h"

#include "network/QueryString.h"
#include "qzone/Endpoints.h"

namespace albivex {

QUrl MoodListUrl(const Endpoints &endpoints, const MoodListRequest &r)
{
    return UrlWithQuery(endpoints.text(Endpoint::MoodList),
                        {{QStringLiteral("uin"), r.uin},
                         {QStringLiteral("pos"), QString::number(r.pos)},
                         {QStringLiteral("num"), QString::number(r.num)},
                         {QStringLiteral("g_tk"), r.gTk},
                         {QStringLiteral("format"), QStringLiteral("jsonp")},
                         {QStringLiteral("ftype"), QStringLiteral("0")},
                         {QStringLiteral("sort"), QStringLiteral("0")},
                         {QStringLiteral("replynum"), QStringLiteral("100")},
                         {QStringLiteral("code_version"), QStringLiteral("1")},
                         {QStringLiteral("need_private_comment"), QStringLiteral("1")},
                         {QStringLiteral("callback"), QStringLiteral("_preloadCallback")}});
}

QUrl MoodDetailUrl(const Endpoints &endpoints, const QString &uin, const QString &tid, const QString &gTk)
{
    return UrlWithQuery(endpoints.text(Endpoint::MoodDetail),
                        {{QStringLiteral("uin"), uin},
                         {QStringLiteral("tid"), tid},
                         {QStringLiteral("format"), QStringLiteral("jsonp")},
                         {QStringLiteral("g_tk"), gTk},
                         {QStringLiteral("not_trunc_con"), QStringLiteral("1")}});
}

} // namespace albivex
