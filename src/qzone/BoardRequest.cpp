#include "qzone/BoardRequest.h"

#include "network/QueryString.h"
#include "qzone/Endpoints.h"

namespace albivex {

QUrl BoardUrl(const Endpoints &endpoints, const BoardListRequest &r)
{
    return UrlWithQuery(endpoints.text(Endpoint::Board),
                        {{QStringLiteral("uin"), r.uin},
                         {QStringLiteral("hostUin"), r.hostUin},
                         {QStringLiteral("start"), QString::number(r.start)},
                         {QStringLiteral("num"), QString::number(r.num)},
                         {QStringLiteral("format"), QStringLiteral("jsonp")},
                         {QStringLiteral("inCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("outCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("g_tk"), r.gTk}});
}

} // namespace albivex
