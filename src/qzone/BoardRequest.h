#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

class Endpoints;

// Messages one page of the 留言板 holds at most: the most the service serves.
inline constexpr int BoardPageSize = 20;

// What a 留言板 (message board) list request asks: one page of a space's messages,
// newest first.
struct BoardListRequest
{
    QString uin; // the signed-in number
    QString hostUin; // whose board
    QString gTk; // the Qzone-host token (QzoneCredentials::tokenFor(Endpoint::Board))
    int start = 0; // messages before the page: 0 asks for the newest
    int num = BoardPageSize;
};

// The list request address, with the keys and fixed values the web page sends.
QUrl BoardUrl(const Endpoints &endpoints, const BoardListRequest &request);

} // namespace albivex
