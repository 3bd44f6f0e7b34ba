#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class ActivityLog;
class AccountView;
class PictureLoader;
class ProfileRequest;

// After a capture: asks the profile service for the nickname of the signed-in
// number, loads its avatar, shows number, nickname and avatar in the main window,
// turns the sign-in button into the sign-out button and writes the sign-in line. A step that
// fails is skipped; the rest still happens.
class AccountProfile : public QObject
{
    Q_OBJECT
public:
    AccountProfile(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                   ActivityLog &log, AccountView &view, QObject *parent = nullptr);
    ~AccountProfile() override;

    // Fills the main window for QzoneCredentials.uin; `done` runs once the window
    // shows the signed-in account (the avatar may land a little later).
    void showSignedIn(std::function<void()> done);
    // The sign-in line of the activity log.
    void logSignIn();
    // Drops the answers still on their way (sign-out).
    void cancel();

private:
    void showAccount(const QString &profileAnswer);

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    ActivityLog &m_log;
    AccountView &m_view;
    QPointer<ProfileRequest> m_profile;
    QPointer<PictureLoader> m_avatar;
};

} // namespace albivex
