#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

class Endpoints;

// The album list of the signed-in user's own space (UTF-8 answer).
QUrl OwnAlbumListUrl(const Endpoints &endpoints, const QString &uin, const QString &gTk);

// The album list of the space of `hostUin`, asked for by the signed-in `uin` (GBK answer).
QUrl OtherAlbumListUrl(const Endpoints &endpoints, const QString &hostUin, const QString &uin,
                       const QString &gTk);

} // namespace albivex
