#include "photos/PhotoListRequest.h"

#include "catalogue/Endpoints.h"
#include "catalogue/QueryString.h"

namespace albivex {

QUrl PhotoListUrl(const Endpoints &endpoints, const PhotoListRequest &r)
{
    const QString pageStart = QString::number(r.pageStart);
    const QString pageNum = QString::number(r.pageSize());
    if (r.otherSpace) {
        return UrlWithQuery(endpoints.text(Endpoint::PhotoListOther),
                            {{QStringLiteral("t"), QStringLiteral("751739517")},
                             {QStringLiteral("mode"), QStringLiteral("0")},
                             {QStringLiteral("idcNum"), QStringLiteral("4")},
                             {QStringLiteral("hostUin"), r.ownerUin},
                             {QStringLiteral("topicId"), r.albumId},
                             {QStringLiteral("noTopic"), QStringLiteral("0")},
                             {QStringLiteral("uin"), r.uin},
                             {QStringLiteral("pageStart"), pageStart},
                             {QStringLiteral("pageNum"), pageNum},
                             {QStringLiteral("skipCmtCount"), QStringLiteral("0")},
                             {QStringLiteral("singleurl"), QStringLiteral("1")},
                             {QStringLiteral("batchId"), QString()},
                             {QStringLiteral("notice"), QStringLiteral("0")},
                             {QStringLiteral("appid"), QStringLiteral("4")},
                             {QStringLiteral("inCharset"), QStringLiteral("utf-8")},
                             {QStringLiteral("outCharset"), QStringLiteral("utf-8")},
                             {QStringLiteral("source"), QStringLiteral("qzone")},
                             {QStringLiteral("plat"), QStringLiteral("qzone")},
                             {QStringLiteral("outstyle"), QStringLiteral("json")},
                             {QStringLiteral("format"), QStringLiteral("jsonp")},
                             {QStringLiteral("json_esc"), QStringLiteral("1")},
                             {QStringLiteral("callbackFun"), QStringLiteral("shine6")},
                             {QStringLiteral("g_tk"), r.gTk}});
    }
    return UrlWithQuery(endpoints.text(Endpoint::PhotoListOwn),
                        {{QStringLiteral("g_tk"), r.gTk},
                         {QStringLiteral("callback"), QStringLiteral("shine0_Callback")},
                         {QStringLiteral("t"), QStringLiteral("637184888")},
                         {QStringLiteral("mode"), QStringLiteral("0")},
                         {QStringLiteral("idcNum"), QStringLiteral("4")},
                         {QStringLiteral("hostUin"), r.uin},
                         {QStringLiteral("topicId"), r.albumId},
                         {QStringLiteral("noTopic"), QStringLiteral("0")},
                         {QStringLiteral("uin"), r.uin},
                         {QStringLiteral("pageStart"), pageStart},
                         {QStringLiteral("pageNum"), pageNum},
                         {QStringLiteral("skipCmtCount"), QStringLiteral("0")},
                         {QStringLiteral("singleurl"), QStringLiteral("1")},
                         {QStringLiteral("batchId"), QString()},
                         {QStringLiteral("notice"), QStringLiteral("0")},
                         {QStringLiteral("appid"), QStringLiteral("4")},
                         {QStringLiteral("inCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("outCharset"), QStringLiteral("utf-8")},
                         {QStringLiteral("source"), QStringLiteral("qzone")},
                         {QStringLiteral("plat"), QStringLiteral("qzone")},
                         {QStringLiteral("outstyle"), QStringLiteral("json")},
                         {QStringLiteral("format"), QStringLiteral("jsonp")},
                         {QStringLiteral("json_esc"), QStringLiteral("1")},
                         {QStringLiteral("question"), QString()},
                         {QStringLiteral("answer"), QString()},
                         {QStringLiteral("callbackFun"), QStringLiteral("shine0")},
                         {QStringLiteral("_"), QStringLiteral("1450879526742")}});
}

} // namespace albivex
