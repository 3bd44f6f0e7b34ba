#pragma once

#include "qzone/Endpoints.h"

#include <QString>

namespace albivex {

// The one signed-in QQ account of the run. Never written to the log, a file or the
// console: skey, pSkey and the tokens over them sign every request.
struct QzoneCredentials
{
    QString uin; // the signed-in QQ number, decimal digits without leading zeros
    QString targetUin; // the QQ number typed for "another space"
    QString skey; // "@" and 9 characters; empty after sign-out
    QString pSkey; // the p_skey cookie of Qzone's landing page; empty when the sign-in has none
    // The g_tk of every request to a Qzone host: ComputeGTk(pSkey) when the sign-in has
    // a p_skey, else ComputeGTk(skey); decimal text.
    QString gTk;
    bool signedIn = false;

    // Keeps the sign-in's keys and the token over them.
    void setKeys(const QString &skey, const QString &pSkey);
    // Forgets the keys and the token (sign-out, a session the service has ended); the
    // number stays for the lines that name it.
    void clearKeys();
    // The g_tk a request to `which` carries: gTk on a Qzone host, the token over skey on
    // any other.
    QString tokenFor(Endpoint which) const;
};

} // namespace albivex
