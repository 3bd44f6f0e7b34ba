#include "standin/StandinKnobs.h"

#include "standin/PageToken.h"

#include <QMutexLocker>

namespace albivex::standin {

StandinKnobs::StandinKnobs() : m_versionText(QStringLiteral("morvith:V1.0|")), m_pictures(m_data)
{
    m_clock.start();
}

QString StandinKnobs::tokenFor(const SignIn &signIn) const
{
    if (profile() != Profile::Today)
        return PageToken(signIn.skey);
    const QString pSkey = m_signIns.pSkeyOf(signIn.uinCookie(), signIn.skey);
    return pSkey.isEmpty() ? QString() : PageToken(pSkey);
}

void StandinKnobs::setVersionText(const QString &text)
{
    QMutexLocker lock(&m_mutex);
    m_versionText = text;
}

QString StandinKnobs::versionText() const
{
    QMutexLocker lock(&m_mutex);
    return m_versionText;
}

} // namespace albivex::standin
