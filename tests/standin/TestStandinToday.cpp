#include "StandinClient.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QRegularExpression>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

// The today profile of the stand-in and the data for originals, videos, protected
// albums and growing albums, over real HTTP.
class TestStandinToday : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }

    // Visits the Qzone landing page; a p_skey it sets becomes the key of g_tk.
    static StandinClient::Answer land(StandinClient &client)
    {
        const auto answer = client.get(QStringLiteral("/qzone/v5/loginsucc.html?para=izone"));
        if (!client.cookie("p_skey").isEmpty())
            client.useTokenKey(client.cookie("p_skey"));
        return answer;
    }
    // A client of its own, signed in as `uin` (and landed) on the same server.
    std::unique_ptr<StandinClient> viewerClient(const QString &uin)
    {
        auto client = std::make_unique<StandinClient>(m_server->root());
        client->useSignIn(knobs().signIn(uin));
        land(*client);
        return client;
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        knobs().setProfile(Profile::Today);
        QVERIFY(m_server->listen());
        m_client = viewerClient(QString::fromLatin1(MainUin));
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void landingPageSetsPSkeyOnlyTodayAndOnlyForASignIn_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("today, signed in") << true << true;
        QTest::newRow("today, not signed in") << true << false;
        QTest::newRow("default, signed in") << false << true;
    }
    void landingPageSetsPSkeyOnlyTodayAndOnlyForASignIn()
    {
        QFETCH(bool, today);
        QFETCH(bool, signedIn);
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        StandinClient client(m_server->root());
        const SignIn signIn = knobs().signIn(QString::fromLatin1(MainUin));
        QVERIFY(!signIn.cookieHeader().contains("p_skey="));
        if (signedIn)
            client.useSignIn(signIn);
        const auto answer = land(client);
        QCOMPARE(answer.status, 200);
        QVERIFY(answer.text().contains(QStringLiteral("<title>QQ空间</title>")));
        const QString recorded = knobs().issuedSignIns().last().pSkey;
        if (!today || !signedIn) {
            QVERIFY(answer.headerValues("Set-Cookie").isEmpty());
            QVERIFY(recorded.isEmpty());
            return;
        }
        const QList<QNetworkCookie> set = QNetworkCookie::parseCookies(answer.header("Set-Cookie"));
        QCOMPARE(set.size(), 1);
        QCOMPARE(set[0].name(), QByteArray("p_skey"));
        QCOMPARE(set[0].path(), QStringLiteral("/"));
        QVERIFY2(QRegularExpression(QStringLiteral("^[!-~]{44}$")).match(recorded).hasMatch(),
                 qPrintable(recorded));
        QCOMPARE(QString::fromLatin1(set[0].value()), recorded);
        QCOMPARE(land(client).headerValues("Set-Cookie").size(), 1); // a second visit: the same key
        QCOMPARE(client.cookie("p_skey"), recorded);
    }

    void tokenFollowsTheProfile_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("key"); // what g_tk hashes: skey, pskey, otherpskey
        QTest::addColumn<QString>("pSkeyCookie"); // mine, other, none
        QTest::addColumn<bool>("accepted");
        QTest::newRow("default: skey") << false << "skey"
                                       << "none" << true;
        QTest::newRow("default: p_skey") << false << "pskey"
                                         << "mine" << false;
        QTest::newRow("today: p_skey") << true << "pskey"
                                       << "mine" << true;
        QTest::newRow("today: skey") << true << "skey"
                                     << "mine" << false;
        QTest::newRow("today: no p_skey cookie") << true << "pskey"
                                                 << "none" << false;
        QTest::newRow("today: p_skey of another sign-in") << true << "otherpskey"
                                                          << "other" << false;
    }
    void tokenFollowsTheProfile()
    {
        QFETCH(bool, today);
        QFETCH(QString, key);
        QFETCH(QString, pSkeyCookie);
        QFETCH(bool, accepted);
        const SignIn mine = knobs().signIn(QString::fromLatin1(MainUin));
        const SignIn other = knobs().signIn(QString::fromLatin1(MainUin));
        const QString myPSkey = knobs().signIns().grantPSkey(mine.uinCookie(), mine.skey);
        const QString otherPSkey = knobs().signIns().grantPSkey(other.uinCookie(), other.skey);
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        StandinClient client(m_server->root());
        client.useSignIn(mine);
        if (pSkeyCookie != QLatin1String("none")) {
            QNetworkCookie cookie("p_skey",
                                  (pSkeyCookie == QLatin1String("mine") ? myPSkey : otherPSkey).toLatin1());
            client.nam().cookieJar()->setCookiesFromUrl({cookie},
                                                        QUrl(m_server->root() + QStringLiteral("/")));
        }
        client.useTokenKey(key == QLatin1String("skey")        ? mine.skey
                               : key == QLatin1String("pskey") ? myPSkey
                                                               : otherPSkey);
        for (const QUrl &url : {client.albumListV3(client.gtk()),
                                client.photoListOwn(QString::fromLatin1(SmallAlbum.id), 0, 500)}) {
            const QString text = client.getUrl(url).text();
            if (accepted) {
                QVERIFY2(text.contains(QStringLiteral("\"code\" : 0,")), qPrintable(text.left(300)));
            } else {
                QVERIFY(text.contains(
                    QStringLiteral("({\n   \"code\" : -3000,\n   \"message\" : \"请先登录空间\",\n")));
                QVERIFY(text.contains(QStringLiteral("\"subcode\" : -4001\n});")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestStandinToday)
#include "TestStandinToday.moc"
