#pragma once

#include <QString>

namespace albivex::standin {

// The JSONP error answers of the Qzone services (status 200; the caller encodes the
// text): `callback({ "code" : C, "message" : "M", "notice" : 0, "subcode" : S });`.
class ErrorAnswer
{
public:
    enum Code : int {
        NotSignedIn = -3000, // subcode -4001: cookies, g_tk or p_skey do not match a sign-in
        ClosedSpace = -4009, // the space is closed to the viewer
        ServerBusy = -10000,
        ServerBusyToo = -10001,
        TooFrequent = -10049, // over the request budget (--rate)
        AlbumMissing = -10801, // no such album in the space
        PhotoMissing = -10802, // no such picture in the album (floatview)
        WrongAnswer = -10805, // question or password album without the right answer
        NoAccess = -10815, // an album the viewer may not open (allowAccess 0)
        MoodsRefused = -10031, // 说说 of a space closed to the viewer
        MoodsSecret = -10033, // 说说 the owner keeps to himself
        MoodMissing = -10010, // no 说说 of that tid in the space (detail)
    };
    static constexpr int NotSignedInSubcode = -4001;

    // The answer for a code: its message and subcode as the service gives them; an
    // unknown code gets a busy message and itself as subcode.
    static QString of(const QString &callback, int code);
    static QString message(int code);
};

} // namespace albivex::standin
