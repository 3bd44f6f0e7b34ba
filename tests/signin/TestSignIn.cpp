#include "FinishedReplies.h"
#include "ScriptedPrompts.h"
#include "SignInThroughBrowser.h"
#include "app/AlbivexApp.h"
#include "network/FetchText.h"
#include "network/PictureLoader.h"
#include "qzone/GTk.h"
#include "signin/ui/CookieBridge.h"
#include "signin/ui/SignInDialog.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QPushButton>
#include <QRegularExpression>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

using namespace albivex;
using namespace albivex::standin;

namespace {

// Every message the process writes through Qt's logging while a test runs.
QStringList g_messages;
void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages.append(message);
}

bool isLogLine(const QString &line, const QString &message)
{
    static const QRegularExpression time(QStringLiteral("^\\[\\d{1,2}:\\d{2}:\\d{2}[^\\]]*\\]"));
    const QRegularExpressionMatch match = time.match(line);
    return match.hasMatch() && line.mid(match.capturedLength()) == message;
}

int countLines(const QStringList &lines, const QString &message)
{
    int count = 0;
    for (const QString &line : lines)
        count += isLogLine(line, message) ? 1 : 0;
    return count;
}

QImage shownPicture(const QLabel *label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT
private:
    StandinThread m_standin;
    ScriptedPrompts m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    MainWindow &window() { return m_app->window(); }
    QString root() const { return m_standin.root(); }

    // The album list as the album-list request of the signed-in account asks for it.
    QString fetchAlbumList()
    {
        const QzoneCredentials &credentials = m_app->state().credentials;
        const QUrl url(Endpoints(root()).text(Endpoint::AlbumListV3) + QStringLiteral("?g_tk=")
                       + credentials.gTk + QStringLiteral("&callback=shine0_Callback&hostUin=")
                       + credentials.uin + QStringLiteral("&uin=") + credentials.uin
                       + QStringLiteral("&format=jsonp&inCharset=utf-8"));
        QString answer;
        bool done = false;
        FetchText(m_app->network(), url, this, [&](const QString &text) {
            answer = text;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 20000))
            return QString();
        return answer;
    }

    // Waits until what the browser did so far has reached the tool, instead of for a
    // fixed time: a cookie of the test's own, set after the pages' ones, comes through
    // the browser's cookie store behind them; then a request of the test's own goes
    // through the tool's network behind any request the tool made on them.
    bool settle(SignInDialog &form)
    {
        static int round = 0;
        const QUrl elsewhere(QStringLiteral("http://localhost:%1/").arg(m_standin.port()));
        QNetworkCookie marker("albivex_settled", QByteArray::number(++round));
        marker.setDomain(QStringLiteral("localhost"));
        marker.setPath(QStringLiteral("/"));
        QWebEngineProfile *profile = form.browser->page()->profile();
        const CookieBridge *bridge = profile->findChild<CookieBridge *>();
        profile->cookieStore()->setCookie(marker, elsewhere);
        const QString set = QString::fromLatin1(marker.name() + '=' + marker.value());
        if (!QTest::qWaitFor([&] { return bridge->cookieTextFor(elsewhere).contains(set); }, 10000))
            return false;
        return SettleNetwork(m_app->network(), root());
    }

    SignInDialog *openSignInPage()
    {
        window().signInButton->click();
        SignInDialog *form = SignInWindow(*m_app);
        if (!form || !QTest::qWaitFor([&] { return form->isVisible(); }, 10000) || !WaitForSignInPage(*form))
            return nullptr;
        return form;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_standin.start());
        qInstallMessageHandler(recordMessage);
    }
    void init()
    {
        m_standin.knobs().clearRequests();
        m_standin.knobs().clearFaults();
        g_messages.clear();
        m_app = std::make_unique<AlbivexApp>(Endpoints(root()), &m_prompts, &m_prompts, &m_prompts);
        m_app->start();
        // The version check passes against the stand-in.
        QTRY_VERIFY(window().signInButton->isEnabled());
    }
    void cleanup() { m_app.reset(); }

    void signInThroughCommand2()
    {
        SignInDialog *form = openSignInPage();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("登录QQ"));
        QCOMPARE(form->size(), QSize(615, 344));
        QVERIFY(form->isModal());
        QCOMPARE(form->browser->geometry(), QRect(-32, -24, 681, 409));
        QCOMPARE(form->browser->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(form->browser->page()->profile()->isOffTheRecord());
        QCOMPARE(form->noticeLabel->text(), QStringLiteral("登录成功，正在获取信息.."));
        QVERIFY(form->children().indexOf(form->noticeLabel) < form->children().indexOf(form->browser));
        // Script boxes are answered silently; a real box would hold the script.
        QCOMPARE(RunPageScript(*form, QStringLiteral("confirm('leave?')")), QVariant(false));
        QVERIFY(RunPageScript(*form, QStringLiteral("prompt('name?', 'x') === null")).toBool());

        const QList<LoggedRequest> pages = m_standin.knobs().requestsTo(QStringLiteral("/cgi-bin/xlogin"));
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().rawQuery,
                 QStringLiteral("appid=8000201&style=20&s_url=") + root() + QStringLiteral("/"));

        QVERIFY(SubmitSignInPage(*form, QString::fromLatin1(MainUin), QStringLiteral("secret")));
        QTRY_COMPARE_WITH_TIMEOUT(window().signInButton->text(), QStringLiteral("注销登录"), 30000);
        QTRY_VERIFY(!form->isVisible());
        QVERIFY(form->browser->isHidden());

        const QzoneCredentials &credentials = m_app->state().credentials;
        QVERIFY(credentials.signedIn);
        QCOMPARE(credentials.uin, QString::fromLatin1(MainUin));
        QCOMPARE(m_standin.knobs().issuedSkeys(credentials.uin), QStringList {credentials.skey});
        QCOMPARE(credentials.gTk, ComputeGTk(credentials.skey));
        QCOMPARE(window().qqNumberLabel->text(), QString::fromLatin1(MainUin));
        QCOMPARE(window().nicknameLabel->text(), QString::fromUtf8(MainNickname));
        QVERIFY(!window().avatarLabel->isEnabled());
        QCOMPARE(
            countLines(m_app->log().lines(), QStringLiteral("[QQ:%1]登录成功..").arg(QLatin1String(MainUin))),
            1);

        const QImage avatar = StretchOnWhite(
            DecodePicture(m_standin.knobs().pictures().avatar(QString::fromLatin1(MainUin))), QSize(80, 80));
        QVERIFY(!avatar.isNull());
        QTRY_COMPARE(shownPicture(window().avatarLabel), avatar);

        const QList<LoggedRequest> profiles
            = m_standin.knobs().requestsTo(QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage"));
        QCOMPARE(profiles.size(), 1);
        QCOMPARE(profiles.first().method, QStringLiteral("POST"));
        QCOMPARE(profiles.first().header("Content-Type"), QByteArray("text/html;charset=utf-8"));
        QCOMPARE(profiles.first().body,
                 QByteArray("callback=GetCdlistCallback&cid=316&sin=0&ein=15&rettype=19&nolist=0&type=0&id=")
                     + MainUin);
        const QList<LoggedRequest> avatars = m_standin.knobs().requestsTo(QStringLiteral("/headimg_dl"));
        QCOMPARE(avatars.size(), 1);
        QCOMPARE(avatars.first().queryKeys(), (QStringList {"bs", "dst_uin", "src_uin", "fid", "spec"}));
        QCOMPARE(avatars.first().queryValue("dst_uin"), QString::fromLatin1(MainUin));
        QVERIFY(!avatars.first().queryValue("src_uin").isEmpty());
        QCOMPARE(avatars.first().queryValue("fid"), QStringLiteral("qiwomu"));

        // The network manager carries the browser's cookies, and the stand-in takes
        // the gTk: the album list comes, not the refusal.
        const QString albums = fetchAlbumList();
        QVERIFY(albums.contains(QString::fromLatin1(BigAlbum.id)));
        const LoggedRequest albumRequest
            = m_standin.knobs().requestsTo(QStringLiteral("/fcgi-bin/fcg_list_album_v3")).last();
        QVERIFY(albumRequest.cookieNames.contains(QStringLiteral("skey")));
        QVERIFY(albumRequest.cookieNames.contains(QStringLiteral("uin")));

        // Further pages of the same sign-in do not capture again.
        QSignalSpy loaded(form->browser, &QWebEngineView::loadFinished);
        form->browser->reload();
        QVERIFY(loaded.wait(20000));
        QVERIFY(settle(*form));
        QCOMPARE(
            countLines(m_app->log().lines(), QStringLiteral("[QQ:%1]登录成功..").arg(QLatin1String(MainUin))),
            1);
        QCOMPARE(m_standin.knobs().requestCount(QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage")), 1);

        // Neither the log nor any message of the process shows the secrets.
        const QString cookieText
            = form->browser->page()->profile()->findChild<CookieBridge *>()->cookieTextFor(
                QUrl(root() + QStringLiteral("/")));
        QVERIFY(cookieText.contains(credentials.skey));
        for (const QString &line : m_app->log().lines() + g_messages) {
            QVERIFY2(!line.contains(credentials.skey), qPrintable(line));
            QVERIFY2(!line.contains(credentials.gTk), qPrintable(line));
        }
    }

    void avatarClickActsAsCommand2()
    {
        QTest::mouseClick(window().avatarLabel, Qt::LeftButton);
        SignInDialog *form = SignInWindow(*m_app);
        QVERIFY(form);
        QTRY_VERIFY(form->isVisible());
        QVERIFY(WaitForSignInPage(*form));
        form->close();
        QVERIFY(SignInThroughBrowser(*m_app, QString::fromLatin1(SecondUin)));
        QCOMPARE(window().nicknameLabel->text(), QString::fromUtf8(SecondNickname));

        // While signed in the avatar is disabled: a click neither signs out nor opens.
        // (a click that did act would have acted at once: it clicks the sign-in button)
        QTest::mouseClick(window().avatarLabel, Qt::LeftButton);
        QCOMPARE(window().signInButton->text(), QStringLiteral("注销登录"));
        QVERIFY(!SignInWindow(*m_app)->isVisible());
    }

    void wrongPasswordCapturesNothing()
    {
        SignInDialog *form = openSignInPage();
        QVERIFY(form);
        QSignalSpy loaded(form->browser, &QWebEngineView::loadFinished);
        QVERIFY(SubmitSignInPage(*form, QString::fromLatin1(MainUin), QStringLiteral("wrong")));
        QVERIFY(loaded.wait(20000));
        QTRY_VERIFY(!RunPageScript(*form, QStringLiteral("document.getElementById('err').textContent"))
                         .toString()
                         .isEmpty());
        QVERIFY(settle(*form));
        QVERIFY(form->isVisible());
        QVERIFY(form->browser->isVisible());
        QVERIFY(!m_app->state().credentials.signedIn);
        QVERIFY(m_app->state().credentials.uin.isEmpty());
        QCOMPARE(window().signInButton->text(), QStringLiteral("登录QQ"));
        QCOMPARE(window().qqNumberLabel->text(), QStringLiteral("未登录"));
        QCOMPARE(m_standin.knobs().requestCount(QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage")), 0);
    }

    void onlyTheSecurityCentreTitleCaptures()
    {
        SignInDialog *form = openSignInPage();
        QVERIFY(form);
        // The browser holds a complete sign-in's cookies, but the page shown is not
        // the security centre.
        const SignIn signIn = m_standin.knobs().signIn(QString::fromLatin1(MainUin));
        QWebEngineProfile *profile = form->browser->page()->profile();
        CookieBridge *bridge = profile->findChild<CookieBridge *>();
        for (const QNetworkCookie &cookie : signIn.cookies)
            profile->cookieStore()->setCookie(cookie, QUrl(root() + QStringLiteral("/")));
        QTRY_VERIFY(bridge->cookieTextFor(QUrl(root() + QStringLiteral("/"))).contains(signIn.skey));

        QSignalSpy loaded(form->browser, &QWebEngineView::loadFinished);
        form->browser->reload();
        QVERIFY(loaded.wait(20000));
        QVERIFY(settle(*form));
        QVERIFY(!m_app->state().credentials.signedIn);
        QVERIFY(form->browser->isVisible());
        QVERIFY(!form->browser->title().contains(QStringLiteral("QQ安全中心")));

        // The same cookies on the security centre's page do capture.
        form->browser->load(QUrl(root() + QStringLiteral("/")));
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().credentials.signedIn, 20000);
        QCOMPARE(m_app->state().credentials.skey, signIn.skey);
        QCOMPARE(m_app->state().credentials.uin, QString::fromLatin1(MainUin));
    }

    void signOutThrowsAwayQqCookiesOnly()
    {
        QVERIFY(SignInThroughBrowser(*m_app, QString::fromLatin1(MainUin)));
        QTRY_VERIFY(!window().avatarLabel->pixmap().isNull());
        QWebEngineProfile *profile = SignInWindow(*m_app)->browser->page()->profile();
        CookieBridge *bridge = profile->findChild<CookieBridge *>();
        QNetworkCookieJar *jar = m_app->network().cookieJar();
        // Another site's cookie, in the browser and so in the jar.
        const QUrl otherSite(QStringLiteral("http://localhost:%1/").arg(m_standin.port()));
        QNetworkCookie other("other_site", "keep");
        other.setDomain(QStringLiteral("localhost"));
        other.setPath(QStringLiteral("/"));
        profile->cookieStore()->setCookie(other, otherSite);
        QTRY_COMPARE(jar->cookiesForUrl(otherSite).size(), 1);
        const QUrl qq(root() + QStringLiteral("/"));
        QVERIFY(!jar->cookiesForUrl(qq).isEmpty());

        window().signInButton->click();

        QCOMPARE(window().signInButton->text(), QStringLiteral("登录QQ"));
        QCOMPARE(window().nicknameLabel->text(), QStringLiteral("QQ昵称"));
        QCOMPARE(window().qqNumberLabel->text(), QStringLiteral("未登录"));
        QVERIFY(window().avatarLabel->isEnabled());
        QCOMPARE(window().avatarLabel->pixmap().toImage(), window().defaultAvatarLabel->pixmap().toImage());
        QCOMPARE(window().statusText(), QStringLiteral("注销成功.."));
        QVERIFY(isLogLine(m_app->log().lines().last(),
                          QStringLiteral("[QQ:%1]注销成功..").arg(QLatin1String(MainUin))));
        const QzoneCredentials &credentials = m_app->state().credentials;
        QVERIFY(!credentials.signedIn);
        QVERIFY(credentials.skey.isEmpty());
        QCOMPARE(credentials.uin, QString::fromLatin1(MainUin));
        QVERIFY(!SignInWindow(*m_app));

        QVERIFY(jar->cookiesForUrl(qq).isEmpty());
        QCOMPARE(jar->cookiesForUrl(otherSite).size(), 1);
        QVERIFY(bridge->cookieTextFor(qq).isEmpty());
        QVERIFY(fetchAlbumList().contains(QStringLiteral("请先登录空间")));

        // The next sign-in starts on the sign-in page again and captures nothing by itself.
        m_standin.knobs().clearRequests();
        SignInDialog *form = openSignInPage();
        QVERIFY(form);
        QVERIFY(settle(*form));
        QVERIFY(form->browser->isVisible());
        QVERIFY(!credentials.signedIn);
        // The browser itself no longer sends QQ's cookies.
        const QStringList sent
            = m_standin.knobs().requestsTo(QStringLiteral("/cgi-bin/xlogin")).last().cookieNames;
        QVERIFY2(!sent.contains(QStringLiteral("skey")) && !sent.contains(QStringLiteral("uin")),
                 qPrintable(sent.join(QLatin1Char(' '))));
        QVERIFY(SubmitSignInPage(*form, QString::fromLatin1(MainUin), QStringLiteral("again")));
        QTRY_VERIFY_WITH_TIMEOUT(credentials.signedIn, 30000);
        QTRY_COMPARE(
            countLines(m_app->log().lines(), QStringLiteral("[QQ:%1]登录成功..").arg(QLatin1String(MainUin))),
            2);

        // ... while it still sends the other site's.
        QSignalSpy loaded(form->browser, &QWebEngineView::loadFinished);
        form->browser->load(otherSite);
        QVERIFY(loaded.wait(20000));
        QVERIFY(m_standin.knobs()
                    .requestsTo(QStringLiteral("/"))
                    .last()
                    .cookieNames.contains(QStringLiteral("other_site")));
    }
};

QTEST_MAIN(TestSignIn)
#include "TestSignIn.moc"
