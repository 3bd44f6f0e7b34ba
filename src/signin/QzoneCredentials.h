#pragma once

#include <QString>

namespace albivex {

// The one signed-in QQ account of the run.
struct QzoneCredentials
{
    QString uin; // signed-in QQ number; kept after sign-out for the sign-out line
    QString targetUin; // whole current text of Text2, unchecked
    QString skey; // "@" + 9 characters; emptied at sign-out
    QString gTk; // ComputeGTk(skey) as decimal text
    int signedIn = 0; // non-zero while signed in
};

} // namespace albivex
