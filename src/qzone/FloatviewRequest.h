#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

class Endpoints;

// What a floatview request asks: the pictures of one album from one picture on, with
// the addresses the photo list does not give (other spaces' originals, videos).
struct FloatviewRequest
{
    // Photos the service gives in one answer at most: the picture asked for and up to
    // this many minus one after it.
    static constexpr int MaxPhotos = 100;

    QString uin; // the signed-in QQ number
    QString ownerUin; // whose space (hostUin)
    QString gTk;
    QString albumId; // topicId
    QString picKey; // the first picture's lloc
    int postNum = MaxPhotos - 1; // pictures after picKey to include
};

// The request address, with the keys in the order and with the fixed values the
// service expects.
QUrl FloatviewUrl(const Endpoints &endpoints, const FloatviewRequest &request);

} // namespace albivex
