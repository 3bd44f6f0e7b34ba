#include "qzone/FloatviewRequest.h"

#include "network/QueryString.h"
#include "qzone/Endpoints.h"

namespace albivex {

QUrl FloatviewUrl(const Endpoints &endpoints, const FloatviewRequest &r)
{
    return UrlWithQuery(endpoints.text(Endpoint::Floatview),
                        {{QStringLiteral("g_tk"), r.gTk},
                         {QStringLiteral("callback"), QStringLiteral("viewer_Callback")},
                         {QStringLiteral("topicId"), r.albumId},
                         {QStringLiteral("picKey"), r.picKey},
                         {QStringLiteral("cmtNum"), QStringLiteral("0")},
                         {QStringLiteral("uin"), r.uin},
                         {QStringLiteral("hostUin"), r.ownerUin},
                         {QStringLiteral("appid"), QStringLiteral("4")},
                         {QStringLiteral("isFirst"), QStringLiteral("1")},
                         {QStringLiteral("prevNum"), QStringLiteral("0")},
                         {QStringLiteral("postNum"), QString::number(r.postNum)},
                         {QStringLiteral("inCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("outCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("plat"), QStringLiteral("qzone")},
                         {QStringLiteral("source"), QStringLiteral("qzone")},
                         {QStringLiteral("format"), QStringLiteral("jsonp")}});
}

} // namespace albivex
