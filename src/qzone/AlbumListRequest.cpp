#include "qzone/AlbumListRequest.h"

#include "network/QueryString.h"
#include "qzone/Endpoints.h"

namespace albivex {

namespace {

// The paging keys of the sort view, after the keys of the first request.
QUrl WithPage(const QString &base, QueryItems keys, std::optional<int> pageStart)
{
    if (pageStart) {
        keys += {{QStringLiteral("mode"), QStringLiteral("2")},
                 {QStringLiteral("pageStart"), QString::number(*pageStart)},
                 {QStringLiteral("pageNum"), QString::number(AlbumPageSize)}};
    }
    return UrlWithQuery(base, keys);
}

} // namespace

// The services expect these keys in exactly this order, with these fixed values.

QUrl OwnAlbumListUrl(const Endpoints &endpoints, const QString &uin, const QString &gTk,
                     std::optional<int> pageStart)
{
    return WithPage(endpoints.text(Endpoint::AlbumListV3),
                    {{QStringLiteral("g_tk"), gTk},
                     {QStringLiteral("callback"), QStringLiteral("shine0_Callback")},
                     {QStringLiteral("t"), QStringLiteral("391761988")},
                     {QStringLiteral("hostUin"), uin},
                     {QStringLiteral("uin"), uin},
                     {QStringLiteral("appid"), QStringLiteral("4")},
                     {QStringLiteral("inCharset"), QStringLiteral("utf-8")},
                     {QStringLiteral("outCharset"), QStringLiteral("utf-8")},
                     {QStringLiteral("source"), QStringLiteral("qzone")},
                     {QStringLiteral("plat"), QStringLiteral("qzone")},
                     {QStringLiteral("format"), QStringLiteral("jsonp")},
                     {QStringLiteral("notice"), QStringLiteral("0")},
                     {QStringLiteral("filter"), QStringLiteral("1")},
                     {QStringLiteral("handset"), QStringLiteral("4")},
                     {QStringLiteral("pageNumModeSort"), QStringLiteral("40")},
                     {QStringLiteral("pageNumModeClass"), QStringLiteral("15")},
                     {QStringLiteral("needUserInfo"), QStringLiteral("1")},
                     {QStringLiteral("idcNum"), QStringLiteral("4")},
                     {QStringLiteral("callbackFun"), QStringLiteral("shine0")},
                     {QStringLiteral("_"), QStringLiteral("1450879334407")}},
                    pageStart);
}

QUrl OtherAlbumListUrl(const Endpoints &endpoints, const QString &hostUin, const QString &uin,
                       const QString &gTk, std::optional<int> pageStart)
{
    return WithPage(endpoints.text(Endpoint::AlbumListV2),
                    {{QStringLiteral("inCharset"), QStringLiteral("gbk")},
                     {QStringLiteral("outCharset"), QStringLiteral("gbk")},
                     {QStringLiteral("hostUin"), hostUin},
                     {QStringLiteral("notice"), QStringLiteral("0")},
                     {QStringLiteral("callbackFun"), QString()},
                     {QStringLiteral("format"), QStringLiteral("jsonp")},
                     {QStringLiteral("plat"), QStringLiteral("qzone")},
                     {QStringLiteral("source"), QStringLiteral("qzone")},
                     {QStringLiteral("appid"), QStringLiteral("4")},
                     {QStringLiteral("uin"), uin},
                     {QStringLiteral("g_tk"), gTk}},
                    pageStart);
}

} // namespace albivex
