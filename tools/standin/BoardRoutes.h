#pragma once

#include "standin/HttpAnswer.h"
#include "standin/RequestView.h"

namespace albivex::standin {

class StandinKnobs;

// The 留言板 list request of a signed-in viewer: which board (hostUin), which page
// (start, num at most MaxPageSize), and the refusal of a closed space (ClosedUin:
// -10031, as its 说说). The answer is JSONP: code, subcode, message and data {total,
// commentList}; a private message reaches the board's owner and its writer with its
// text, anyone else with "secret" 1 and no text. The caller checks the sign-in.
class BoardRoutes
{
public:
    static constexpr char ListPath[] = "/proxy/domain/m.qzone.qq.com/cgi-bin/new/get_msgb";
    static constexpr int MaxPageSize = 20;

    explicit BoardRoutes(StandinKnobs &knobs);

    HttpAnswer list(const RequestView &request, const QString &viewer) const;

private:
    StandinKnobs &m_knobs;
};

} // namespace albivex::standin
