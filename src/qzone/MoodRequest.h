#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

class Endpoints;

// Posts one page of the 说说 list holds at most.
inline constexpr int MoodPageSize = 20;

// What a 说说 list request asks: one page of a space's posts, newest first.
struct MoodListRequest
{
    QString uin; // whose space
    QString gTk; // the Qzone-host token (QzoneCredentials::tokenFor(Endpoint::MoodList))
    int pos = 0; // posts before the page: 0 asks for the newest
    int num = MoodPageSize;
};

// The list request address, with the keys and fixed values the web page sends.
QUrl MoodListUrl(const Endpoints &endpoints, const MoodListRequest &request);

// The address that asks one post again in full: every picture and the whole text,
// which the list cuts short (MoodNeedsDetail).
QUrl MoodDetailUrl(const Endpoints &endpoints, const QString &uin, const QString &tid, const QString &gTk);

} // namespace albivex
