#pragma once

#include "standin/HttpAnswer.h"
#include "standin/MoodAnswer.h"
#include "standin/MoodBook.h"
#include "standin/RequestView.h"

namespace albivex::standin {

class StandinKnobs;

// The 说说 list and detail requests of a signed-in viewer: which space, which page or
// post, and the error answers of a space that refuses. The caller checks the sign-in.
class MoodRoutes
{
public:
    static constexpr char ListPath[] = "/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msglist_v6";
    static constexpr char DetailPath[] = "/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msgdetail_v6";
    static constexpr int MaxPageSize = 20;

    explicit MoodRoutes(StandinKnobs &knobs);

    static bool isMoodPath(const QString &path);
    // `uin` the space, `pos` the first post (0: newest), `num` at most MaxPageSize.
    HttpAnswer list(const RequestView &request, const QString &viewer) const;
    // `uin` the space, `tid` the post.
    HttpAnswer detail(const RequestView &request, const QString &viewer) const;
    // The error answer of `code`, in the request's format (JSONP, or bare for format=json).
    static HttpAnswer error(const RequestView &request, int code);

private:
    struct Target
    {
        MoodSpace space;
        MoodAnswer::Owner owner;
    };
    Target targetOf(const RequestView &request, const QString &viewer) const;
    MoodAnswer::Form formOf(const RequestView &request) const;
    static int refusal(MoodSpace space);

    StandinKnobs &m_knobs;
};

} // namespace albivex::standin
