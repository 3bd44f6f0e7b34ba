#pragma once

#include <QString>

namespace albivex {

// The one signed-in QQ account of the run. Never written to the log, a file or the
// console: skey and gTk sign every request.
struct QzoneCredentials
{
    QString uin; // the signed-in QQ number, decimal digits without leading zeros
    QString targetUin; // the QQ number typed for "another space"
    QString skey; // "@" and 9 characters; empty after sign-out
    QString gTk; // ComputeGTk(skey) as decimal text
    bool signedIn = false;
};

} // namespace albivex
