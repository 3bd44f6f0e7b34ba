#pragma once

#include "signin/ui/AccountProfile.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QLabel;
class QPushButton;
class QWebEngineProfile;
class QWidget;

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class ActivityLog;
class AccountView;
class CookieBridge;
class SignInDialog;

// The sign-in and sign-out button (and the avatar, which acts as a click on it while
// enabled): opens the sign-in window, captures the QQ cookies of
// the security-centre page the sign-in goes on to, and signs out again.
//
// The browser's profile is off the record (nothing of the sign-in reaches the disk)
// and belongs to this controller, so its cookies outlive the sign-in window; they
// are bridged into the network manager's jar. It is made at the first sign-in, so
// that a run that never signs in never starts the browser engine.
class SignInController : public QObject
{
    Q_OBJECT
public:
    SignInController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                     ActivityLog &log, AccountView &view, QPushButton &signInButton, QLabel &avatar,
                     QWidget &dialogParent, QObject *parent = nullptr);
    ~SignInController() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSignInButton();
    void openSignInWindow();
    void tryCapture();
    void signOut();
    void ensureBrowserProfile();

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    ActivityLog &m_log;
    AccountView &m_view;
    QPushButton &m_signInButton;
    QLabel &m_avatar;
    QWidget &m_dialogParent;
    std::unique_ptr<QWebEngineProfile> m_profile;
    CookieBridge *m_bridge = nullptr; // owned by the profile
    QPointer<SignInDialog> m_signInDialog;
    AccountProfile m_account;
    // Set by a capture, cleared by sign-out: later pages of the same sign-in do not
    // capture again.
    bool m_captured = false;
};

} // namespace albivex
