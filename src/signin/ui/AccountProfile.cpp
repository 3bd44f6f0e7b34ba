#include "signin/ui/AccountProfile.h"

#include "network/PictureLoader.h"
#include "qzone/CookieCapture.h"
#include "qzone/Endpoints.h"
#include "qzone/ProfileRequest.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace albivex {

AccountProfile::AccountProfile(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                               ActivityLog &log, MainWindow &window, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_log(log)
    , m_window(window)
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
    MainWindow &window = m_window;
    const QString uin = m_state.credentials.uin;
    window.qqNumberLabel->setText(uin);
    window.nicknameLabel->setText(NicknameFromProfile(profileAnswer));
    window.signInButton->setText(QStringLiteral("注销登录"));
    // An avatar that cannot be loaded leaves the picture avatarLabel shows.
    m_avatar = LoadPictureFromUrl(m_network, AvatarAddress(m_endpoints, uin), this,
                                  [label = window.avatarLabel](const QImage &picture) {
                                      if (!picture.isNull())
                                          label->setPixmap(
                                              QPixmap::fromImage(StretchOnWhite(picture, label->size())));
                                  });
    window.avatarLabel->setEnabled(false);
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
