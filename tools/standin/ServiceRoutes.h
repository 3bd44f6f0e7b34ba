#pragma once

#include "standin/BoardRoutes.h"
#include "standin/DataSet.h"
#include "standin/FaultRule.h"
#include "standin/HttpAnswer.h"
#include "standin/MoodRoutes.h"
#include "standin/RequestView.h"

namespace albivex::standin {

class StandinKnobs;

// The answers of every service the stand-in plays, by path. Pure request-to-answer: the
// server decides when and how the bytes go out.
class ServiceRoutes
{
public:
    explicit ServiceRoutes(StandinKnobs &knobs);

    HttpAnswer answer(const RequestView &request) const;
    // The answer a content fault puts in place of the normal one.
    HttpAnswer hostileAnswer(const RequestView &request, const FaultRule &rule) const;
    // True for the paths the request budget counts: album and photo lists, floatview,
    // 说说 lists and details, the 留言板 list, pictures and videos.
    static bool isBudgeted(const QString &path);
    // The answer to a request over the budget: lists the busy code -10049, pictures and
    // videos 429 with Retry-After: 1.
    HttpAnswer overBudget(const RequestView &request) const;
    // The busy answer of the request's kind while the service throttles: lists and
    // floatview code -10001, pictures and videos 429 with Retry-After.
    HttpAnswer throttled(const RequestView &request, int retryAfterSeconds) const;

    // Paths of the services.
    static constexpr char VersionPath[] = "/version/main.txt";
    static constexpr char SignInPath[] = "/cgi-bin/xlogin";
    static constexpr char SignInSubmitPath[] = "/cgi-bin/login";
    static constexpr char ProfilePath[] = "/rsc/fcgi-bin/3g_profile_homepage";
    static constexpr char AvatarPath[] = "/headimg_dl";
    static constexpr char AlbumListV3Path[] = "/fcgi-bin/fcg_list_album_v3";
    static constexpr char AlbumListV2Path[] = "/p/shalist.photo/fcgi-bin/fcg_list_album_v2";
    static constexpr char PhotoListOwnPath[] = "/fcgi-bin/cgi_list_photo";
    static constexpr char PhotoListOtherPath[] = "/p/shplist.photo/fcgi-bin/cgi_list_photo";
    static constexpr char LandingPath[] = "/qzone/v5/loginsucc.html";
    static constexpr char FloatviewPath[]
        = "/proxy/domain/photo.qzone.qq.com/fcgi-bin/cgi_floatview_photo_list_v2";

private:
    HttpAnswer signInPage(const RequestView &request) const;
    HttpAnswer signInSubmit(const RequestView &request) const;
    HttpAnswer profile(const RequestView &request) const;
    HttpAnswer landing(const RequestView &request) const;
    HttpAnswer albumList(const RequestView &request, bool gbk) const;
    HttpAnswer photoList(const RequestView &request) const;
    HttpAnswer photoPage(const RequestView &request, const QString &viewer) const;
    HttpAnswer floatview(const RequestView &request) const;
    // The album a photo list or floatview request names (hostUin, topicId), or the
    // code of the error answer it gets.
    struct AlbumLookup
    {
        std::optional<AlbumInfo> album;
        int error = 0;
    };
    AlbumLookup lookUpAlbum(const RequestView &request, const QString &viewer) const;
    // True when the request carries what a question or password album asks for.
    static bool isAnswered(const RequestView &request, const AlbumInfo &album);
    HttpAnswer picture(const RequestView &request) const;
    // 说说 list or detail, once the viewer is known.
    HttpAnswer moods(const RequestView &request) const;
    // 留言板 list, once the viewer is known.
    HttpAnswer board(const RequestView &request) const;
    // The service's JSONP error answer of `code` for this request (GBK on the v2 list).
    HttpAnswer serviceError(const RequestView &request, int code) const;

    // The signed-in number whose cookies and g_tk the request carries; empty otherwise.
    // g_tk is the hash of skey, or in the today profile of the sign-in's p_skey.
    QString viewer(const RequestView &request) const;
    Space spaceOf(const QString &hostUin, const QString &viewer) const;

    StandinKnobs &m_knobs;
    MoodRoutes m_moods;
    BoardRoutes m_board;
};

} // namespace albivex::standin
