#pragma once

#include "qzone/Endpoints.h"

#include <QString>
#include <QUrl>

namespace albivex {

// What a photo-list request asks: one page of the pictures of one album.
struct PhotoListRequest
{
    // The album belongs to a space other than the signed-in user's (the album list
    // was fetched for a typed number): the user-space service is asked.
    bool otherSpace = false;
    QString ownerUin; // whose space; used as hostUin when otherSpace
    QString uin; // the signed-in QQ number (hostUin of the own space)
    QString gTk;
    QString albumId;
    int pageStart = 0;

    // The keys that open an album behind a password or a question (AnswerKeys); both
    // empty for every other album. The answer, a hash, is never empty when set.
    QString question;
    QString answer;

    // Pictures one page holds at most: 200 from the user-space service, 500 from the
    // own-space one.
    int pageSize() const { return otherSpace ? 200 : 500; }
    // The service asked.
    Endpoint endpoint() const { return otherSpace ? Endpoint::PhotoListOther : Endpoint::PhotoListOwn; }
};

// The request address, with the keys in the order and with the fixed values the
// services expect. The own-space form always sends question and answer (empty for an
// open album); the user-space form appends them after its other keys only when they
// are set, so that every request for an open album stays as it always was.
QUrl PhotoListUrl(const Endpoints &endpoints, const PhotoListRequest &request);

} // namespace albivex
