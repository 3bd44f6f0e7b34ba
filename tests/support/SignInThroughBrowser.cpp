#include "SignInThroughBrowser.h"

#include "app/AlbivexApp.h"
#include "signin/ui/SignInDialog.h"
#include "window/MainWindow.h"

#include <QPushButton>
#include <QSharedPointer>
#include <QTest>
#include <QWebEngineView>

namespace albivex {

namespace {

QString jsString(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

bool signedInView(AlbivexApp &app)
{
    const SignInDialog *form = SignInWindow(app);
    return app.state().credentials.signedIn && app.window().signInButton->text() == QStringLiteral("注销登录")
        && (!form || !form->isVisible());
}

} // namespace

SignInDialog *SignInWindow(AlbivexApp &app)
{
    return app.window().findChild<SignInDialog *>(QStringLiteral("Form2"));
}

QVariant RunPageScript(SignInDialog &form, const QString &script, int timeoutMs)
{
    // The page may answer after this function gave up; the shared slot outlives it.
    auto result = QSharedPointer<QVariant>::create();
    auto done = QSharedPointer<bool>::create(false);
    form.browser->page()->runJavaScript(script, [result, done](const QVariant &value) {
        *result = value;
        *done = true;
    });
    if (!QTest::qWaitFor([&] { return *done; }, timeoutMs))
        return QVariant();
    return *result;
}

bool WaitForSignInPage(SignInDialog &form, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const QVariant ready = RunPageScript(
            form,
            QStringLiteral("document.readyState === 'complete' && !!document.getElementById('u')"
                           " && !!document.getElementById('p') && !!document.getElementById('go')"),
            2000);
        if (ready.toBool())
            return true;
        QTest::qWait(50);
    }
    return false;
}

bool SubmitSignInPage(SignInDialog &form, const QString &uin, const QString &password, int timeoutMs)
{
    const QString script = QStringLiteral("document.getElementById('u').value = %1;"
                                          "document.getElementById('p').value = %2;"
                                          "document.getElementById('go').click(); true;")
                               .arg(jsString(uin), jsString(password));
    return RunPageScript(form, script, timeoutMs).toBool();
}

bool SignInThroughBrowser(AlbivexApp &app, const QString &uin, const QString &password, int timeoutMs)
{
    QPushButton *command2 = app.window().signInButton;
    if (!QTest::qWaitFor([&] { return command2->isEnabled(); }, timeoutMs)) {
        qWarning("SignInThroughBrowser: Command2 stays disabled (no version check passed)");
        return false;
    }
    if (command2->text() != QStringLiteral("登录QQ")) {
        qWarning("SignInThroughBrowser: Command2 does not offer the sign-in");
        return false;
    }
    command2->click();
    SignInDialog *form = SignInWindow(app);
    if (!form || !QTest::qWaitFor([&] { return form->isVisible(); }, timeoutMs)) {
        qWarning("SignInThroughBrowser: the sign-in window did not open");
        return false;
    }
    if (!WaitForSignInPage(*form, timeoutMs)) {
        qWarning("SignInThroughBrowser: the sign-in page did not load");
        return false;
    }
    if (!SubmitSignInPage(*form, uin, password)) {
        qWarning("SignInThroughBrowser: the sign-in page could not be submitted");
        return false;
    }
    if (!QTest::qWaitFor([&] { return signedInView(app); }, timeoutMs)) {
        qWarning("SignInThroughBrowser: no sign-in captured");
        return false;
    }
    return true;
}

} // namespace albivex
