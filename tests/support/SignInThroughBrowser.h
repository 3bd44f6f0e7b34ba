#pragma once

#include <QString>
#include <QVariant>

namespace albivex {

class AlbivexApp;
class SignInDialog;

// Signing the real application in through its real sign-in window and embedded
// browser, against the stand-in services (the app's endpoints must point at them).
// The stand-in's sign-in page has the number field "u", the password field "p" and
// the submit button "go"; every password but "wrong" signs in.

// Signs `uin` in: waits (within the time-out) for signInButton to be enabled (by the
// version check after app.start(), or by the test itself), clicks it, waits for the
// sign-in page, types number and password, submits, and waits until the main window
// shows the account signed in (signInButton "注销登录", credentials filled, SignInDialog
// hidden). The avatar may still be on its way. False, with a warning saying which
// step failed, when any step does not happen in time.
bool SignInThroughBrowser(AlbivexApp &app, const QString &uin,
                          const QString &password = QStringLiteral("secret"), int timeoutMs = 60000);

// The sign-in window while it exists (signInButton made it; sign-out destroys it).
SignInDialog *SignInWindow(AlbivexApp &app);

// Waits until the sign-in window shows the stand-in's sign-in page, fields ready.
bool WaitForSignInPage(SignInDialog &form, int timeoutMs = 30000);

// Types number and password into the sign-in page and submits it.
bool SubmitSignInPage(SignInDialog &form, const QString &uin, const QString &password, int timeoutMs = 10000);

// Runs a script in the page shown by the sign-in window and returns its result
// (an invalid QVariant when no result came in time).
QVariant RunPageScript(SignInDialog &form, const QString &script, int timeoutMs = 10000);

} // namespace albivex
