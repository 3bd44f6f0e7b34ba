#pragma once

#include "signin/ui/AccountProfile.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QWebEngineProfile;

namespace albivex {

struct AppContext;
class CookieBridge;
class SignInDialog;

// The sign-in and sign-out button signInButton (and the avatar avatarLabel, which acts as a
// click on it while enabled): opens the sign-in window, captures the QQ cookies of
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
    explicit SignInController(AppContext &ctx, QObject *parent = nullptr);
    ~SignInController() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSignInButton();
    void openSignInWindow();
    void tryCapture();
    void signOut();
    void ensureBrowserProfile();

    AppContext &m_ctx;
    std::unique_ptr<QWebEngineProfile> m_profile;
    CookieBridge *m_bridge = nullptr; // owned by the profile
    QPointer<SignInDialog> m_signInDialog;
    AccountProfile m_account;
    // Set by a capture, cleared by sign-out: later pages of the same sign-in do not
    // capture again.
    bool m_captured = false;
};

} // namespace albivex
