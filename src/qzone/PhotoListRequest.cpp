#include "qzone/PhotoListRequest.h"

#include "network/QueryString.h"
#include "qzone/Endpoints.h"

namespace albivex {

namespace {

// The run of keys both request forms send, in this order, from "mode" to "json_esc";
// only the space named as host differs.
QueryItems PageKeys(const QString &hostUin, const PhotoListRequest &r)
{
    return {{QStringLiteral("mode"), QStringLiteral("0")},
            {QStringLiteral("idcNum"), QStringLiteral("4")},
            {QStringLiteral("hostUin"), hostUin},
            {QStringLiteral("topicId"), r.albumId},
            {QStringLiteral("noTopic"), QStringLiteral("0")},
            {QStringLiteral("uin"), r.uin},
            {QStringLiteral("pageStart"), QString::number(r.pageStart)},
            {QStringLiteral("pageNum"), QString::number(r.pageSize())},
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
            {QStringLiteral("json_esc"), QStringLiteral("1")}};
}

} // namespace

QUrl PhotoListUrl(const Endpoints &endpoints, const PhotoListRequest &r)
{
    if (r.otherSpace) {
        QueryItems keys {{QStringLiteral("t"), QStringLiteral("751739517")}};
        keys += PageKeys(r.ownerUin, r);
        keys += {{QStringLiteral("callbackFun"), QStringLiteral("shine6")}, {QStringLiteral("g_tk"), r.gTk}};
        if (!r.question.isEmpty() || !r.answer.isEmpty())
            keys += {{QStringLiteral("question"), r.question}, {QStringLiteral("answer"), r.answer}};
        return UrlWithQuery(endpoints.text(r.endpoint()), keys);
    }
    QueryItems keys {{QStringLiteral("g_tk"), r.gTk},
                     {QStringLiteral("callback"), QStringLiteral("shine0_Callback")},
                     {QStringLiteral("t"), QStringLiteral("637184888")}};
    keys += PageKeys(r.uin, r);
    keys += {{QStringLiteral("question"), r.question},
             {QStringLiteral("answer"), r.answer},
             {QStringLiteral("callbackFun"), QStringLiteral("shine0")},
             {QStringLiteral("_"), QStringLiteral("1450879526742")}};
    return UrlWithQuery(endpoints.text(r.endpoint()), keys);
}

} // namespace albivex
