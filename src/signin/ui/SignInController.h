#pragma once

#include "signin/ui/AccountProfile.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

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
// After the capture, when the browser holds no p_skey yet, the hidden browser visits
// Qzone's landing page, which hands it out, and the sign-in completes once the cookie
// has come: at most PSkeyWaitMs later, or PSkeyGraceMs after the page has loaded
// without it (a service that gives none is not waited for). Cookies are reported
// asynchronously, hence the grace.
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

    static constexpr int PSkeyWaitMs = 20000;
    static constexpr int PSkeyGraceMs = 1000;

    // The service no longer takes the sign-in: the window shows the signed-out look, the
    // keys and QQ's cookies go, the status text and the log say so, and the sign-in
    // window opens. Once per sign-in; later calls do nothing.
    void signInAgain();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSignInButton();
    void openSignInWindow();
    void tryCapture();
    void onPageLoaded();
    void completeSignIn();
    // The p_skey the browser holds for Qzone's hosts; empty when none.
    QString browserPSkey() const;
    void signOut();
    // What sign-out and an ended session share: the signed-out look, no keys, no QQ cookies.
    void dropSession();
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
    // Between the capture and the sign-in's completion: the captured keys, and the two
    // ends of the wait for p_skey.
    QString m_capturedSkey;
    QString m_capturedUin;
    bool m_awaitingPSkey = false;
    QTimer m_pSkeyDeadline;
    QTimer m_pSkeyGrace;
};

} // namespace albivex
