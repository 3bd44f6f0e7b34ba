#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace albivex {

class Endpoints;

// Albums one page of a paged album list holds at most.
inline constexpr int AlbumPageSize = 30;

// The album list of the signed-in user's own space (UTF-8 answer). Without `pageStart`
// the first request of a listing; with it the page of the albums from that index on:
// the keys mode=2, pageStart and pageNum=AlbumPageSize after all the others.
QUrl OwnAlbumListUrl(const Endpoints &endpoints, const QString &uin, const QString &gTk,
                     std::optional<int> pageStart = std::nullopt);

// The album list of the space of `hostUin`, asked for by the signed-in `uin` (GBK
// answer); pages as above.
QUrl OtherAlbumListUrl(const Endpoints &endpoints, const QString &hostUin, const QString &uin,
                       const QString &gTk, std::optional<int> pageStart = std::nullopt);

} // namespace albivex
