#include "qzone/QzoneCredentials.h"

#include "qzone/GTk.h"

namespace albivex {

void QzoneCredentials::setKeys(const QString &newSkey, const QString &newPSkey)
{
    skey = newSkey;
    pSkey = newPSkey;
    gTk = ComputeGTk(pSkey.isEmpty() ? skey : pSkey);
}

void QzoneCredentials::clearKeys()
{
    skey.clear();
    pSkey.clear();
    gTk.clear();
    signedIn = false;
}

QString QzoneCredentials::tokenFor(Endpoint which) const
{
    return IsQzoneHost(which) ? gTk : ComputeGTk(skey);
}

} // namespace albivex
