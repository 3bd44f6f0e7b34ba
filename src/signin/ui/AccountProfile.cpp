#include "signin/ui/AccountProfile.h"

#include "network/PictureLoader.h"
#include "qzone/CookieCapture.h"
#include "qzone/Endpoints.h"
#include "qzone/ProfileRequest.h"
#include "session/AccountView.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

namespace albivex {

AccountProfile::AccountProfile(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                               ActivityLog &log, AccountView &view, QObject *parent)
    : QObject(parent), m_network(network), m_endpoints(endpoints), m_state(state), m_log(log), m_view(view)
{ }

AccountProfile::~AccountProfile()
{
    cancel();
}

void AccountProfile::showSignedIn(std::function<void()> done)
{
    cancel();
    m_profile = FetchProfileText(m_network, m_endpoints, m_state.credentials.uin, this,
                                 [this, done = std::move(done)](const QString &answer) {
                                     showAccount(answer);
                                     if (done)
                                         done();
                                 });
}

void AccountProfile::showAccount(const QString &profileAnswer)
{
    const QString uin = m_state.credentials.uin;
    m_view.showAccount(uin, NicknameFromProfile(profileAnswer), QStringLiteral("注销登录"));
    // An avatar that cannot be loaded leaves the picture the avatar shows.
    m_avatar
        = LoadPictureFromUrl(m_network, AvatarAddress(m_endpoints, uin), this, [this](const QImage &picture) {
              if (!picture.isNull())
                  m_view.setAvatar(picture);
          });
    m_view.setAvatarClickable(false);
    logSignIn();
}

void AccountProfile::logSignIn()
{
    m_log.add(QStringLiteral("[QQ:") + m_state.credentials.uin + QStringLiteral("]登录成功.."));
}

void AccountProfile::cancel()
{
    if (m_profile)
        m_profile->cancel();
    if (m_avatar)
        m_avatar->cancel();
}

} // namespace albivex
