#include "standin/StandinData.h"
#include "standin/StandinThread.h"

#include <QApplication>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

using namespace albivex::standin;

// The sign-in page in a real browser engine, driven the way the sign-in tests will
// drive it: fill the fields by script, press the button, land on the security centre
// with the cookies a capture needs.
class TestStandinBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinThread> m_standin;
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<QWebEnginePage> m_page;
    QList<QNetworkCookie> m_cookies;

    QVariant run(const QString &script)
    {
        QVariant result;
        bool done = false;
        m_page->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 10000))
            return QVariant();
        return result;
    }
    bool load(const QUrl &url)
    {
        QSignalSpy loaded(m_page.get(), &QWebEnginePage::loadFinished);
        m_page->load(url);
        return loaded.wait(20000) && loaded.first().first().toBool();
    }
    void signIn(const QString &uin, const QString &password)
    {
        const QString root = m_standin->root();
        QVERIFY(load(QUrl(root + QStringLiteral("/cgi-bin/xlogin?appid=8000201&style=20&s_url=") + root
                          + QLatin1Char('/'))));
        run(QStringLiteral("document.getElementById('u').value = '%1';"
                           "document.getElementById('p').value = '%2';"
                           "document.getElementById('go').click();")
                .arg(uin, password));
    }

private Q_SLOTS:
    void init()
    {
        m_standin = std::make_unique<StandinThread>();
        QVERIFY(m_standin->start());
        m_profile = std::make_unique<QWebEngineProfile>(); // off the record: no disk state
        m_cookies.clear();
        connect(m_profile->cookieStore(), &QWebEngineCookieStore::cookieAdded, this,
                [this](const QNetworkCookie &cookie) { m_cookies.append(cookie); });
        m_page = std::make_unique<QWebEnginePage>(m_profile.get());
    }
    void cleanup()
    {
        m_page.reset();
        m_profile.reset();
        m_standin.reset();
    }

    void signInLandsOnTheSecurityCentreWithTheCookies()
    {
        signIn(QString::fromLatin1(MainUin), QStringLiteral("secret"));
        QTRY_VERIFY_WITH_TIMEOUT(m_page->title().contains(QStringLiteral("QQ安全中心")), 20000);
        QCOMPARE(m_page->url(), QUrl(m_standin->root() + QLatin1Char('/')));
        QTRY_VERIFY_WITH_TIMEOUT(m_cookies.size() >= 20, 10000);
        QByteArray text;
        QByteArray skey, uin;
        for (const QNetworkCookie &cookie : std::as_const(m_cookies)) {
            text += cookie.name() + '=' + cookie.value() + "; ";
            if (cookie.name() == "skey")
                skey = cookie.value();
            if (cookie.name() == "uin")
                uin = cookie.value();
        }
        QCOMPARE(uin, QByteArray("o0123456789"));
        // The browser keeps the cookies exactly as issued.
        const QList<SignIn> issued = m_standin->knobs().issuedSignIns();
        QCOMPARE(issued.size(), 1);
        QCOMPARE(QString::fromLatin1(skey), issued.first().skey);
        QCOMPARE(int(m_cookies.size()), int(issued.first().cookies.size()));
        QVERIFY(text.size() > 1024);
    }

    void wrongPasswordStaysOnTheSignInPage()
    {
        signIn(QString::fromLatin1(MainUin), QStringLiteral("wrong"));
        QTRY_COMPARE_WITH_TIMEOUT(
            run(QStringLiteral("document.getElementById('err').textContent")).toString(),
            QStringLiteral("您输入的帐号或密码不正确，请重新输入。"), 20000);
        QVERIFY(!m_page->title().contains(QStringLiteral("QQ安全中心")));
        QVERIFY(m_standin->knobs().issuedSignIns().isEmpty());
        QVERIFY(m_cookies.isEmpty());
    }
};

QTEST_MAIN(TestStandinBrowser)
#include "TestStandinBrowser.moc"
