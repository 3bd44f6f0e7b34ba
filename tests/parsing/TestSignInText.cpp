#include "qzone/CookieCapture.h"
#include "qzone/GTk.h"
#include "qzone/QzoneCredentials.h"

#include <QtTest>

using namespace albivex;

class TestSignInText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capture_data()
    {
        QTest::addColumn<QString>("cookies");
        QTest::addColumn<bool>("captured");
        QTest::addColumn<QString>("skey");
        QTest::addColumn<QString>("uin");
        QTest::addColumn<QString>("pSkey");
        QTest::newRow("two zeros, cookies around")
            << QStringLiteral("pgv_pvid=1; skey=@AbC12xYz9; ptcz=ab; uin=o0012345678; RK=x") << true
            << QStringLiteral("@AbC12xYz9") << QStringLiteral("12345678") << QString();
        QTest::newRow("one zero") << QStringLiteral("uin=o0123456789; skey=@123456789") << true
                                  << QStringLiteral("@123456789") << QStringLiteral("123456789") << QString();
        QTest::newRow("five zeros") << QStringLiteral("skey=@abcdefghi; uin=o0000012345;") << true
                                    << QStringLiteral("@abcdefghi") << QStringLiteral("12345") << QString();
        QTest::newRow("uin at the very end")
            << QStringLiteral("skey=@abcdefghi; uin=o0087654321") << true << QStringLiteral("@abcdefghi")
            << QStringLiteral("87654321") << QString();
        QTest::newRow("all zeros keep one digit")
            << QStringLiteral("skey=@abcdefghi; uin=o0000000000") << true << QStringLiteral("@abcdefghi")
            << QStringLiteral("0") << QString();
        QTest::newRow("first skey and first uin")
            << QStringLiteral("skey=@111111111; uin=o0011111111; skey=@222222222; uin=o0022222222") << true
            << QStringLiteral("@111111111") << QStringLiteral("11111111") << QString();
        QTest::newRow("skey cut short by the end")
            << QStringLiteral("uin=o001; skey=@ab") << true << QStringLiteral("@ab") << QStringLiteral("1")
            << QString();
        QTest::newRow("skey without uin waits")
            << QStringLiteral("skey=@abcdefghi; p_skey=x") << false << QString() << QString() << QString();
        QTest::newRow("uin without skey waits")
            << QStringLiteral("uin=o0012345678; skey=") << false << QString() << QString() << QString();
        QTest::newRow("uin not a number waits")
            << QStringLiteral("skey=@abcdefghi; uin=o; x=1") << false << QString() << QString() << QString();
        // A p_skey holds any of the cookie-safe characters and may begin with "@".
        const QString pSkey = QStringLiteral("@Ab9!#$()*+-./:<>?@[]^_{|}~zZ0123456789abcde");
        QTest::newRow("p_skey with @ before skey")
            << QStringLiteral("p_skey=") + pSkey + QStringLiteral("; skey=@abcdefghi; uin=o0012345678")
            << true << QStringLiteral("@abcdefghi") << QStringLiteral("12345678") << pSkey;
        QTest::newRow("p_uin is not uin")
            << QStringLiteral("p_uin=o0099999999; skey=@abcdefghi; p_skey=x; uin=o0012345678") << true
            << QStringLiteral("@abcdefghi") << QStringLiteral("12345678") << QStringLiteral("x");
        QTest::newRow("p_skey alone is no skey") << QStringLiteral("p_skey=@abcdefghi; uin=o0012345678")
                                                 << false << QString() << QString() << QString();
        QTest::newRow("a name starts the text or follows a semicolon and blank")
            << QStringLiteral("xskey=@abcdefghi;skey=@abcdefghi; uin=o001") << false << QString() << QString()
            << QString();
        QTest::newRow("empty text") << QString() << false << QString() << QString() << QString();
    }
    void capture()
    {
        QFETCH(QString, cookies);
        QFETCH(bool, captured);
        QFETCH(QString, skey);
        QFETCH(QString, uin);
        QFETCH(QString, pSkey);
        const std::optional<CookieCapture> result = CaptureCookieText(cookies);
        QCOMPARE(result.has_value(), captured);
        if (result) {
            QCOMPARE(result->skey, skey);
            QCOMPARE(result->uin, uin);
            QCOMPARE(result->pSkey, pSkey);
        }
    }

    // Which key's hash a request carries as g_tk.
    void requestToken_data()
    {
        QTest::addColumn<int>("endpoint");
        QTest::addColumn<QString>("pSkey");
        QTest::addColumn<bool>("overPSkey");
        const QString pSkey = QStringLiteral("@pSkeyValue0123456789abcdefghijklmnopqrstuv");
        for (const Endpoint qzone : {Endpoint::AlbumListV3, Endpoint::AlbumListV2, Endpoint::PhotoListOwn,
                                     Endpoint::PhotoListOther, Endpoint::Profile}) {
            QTest::addRow("Qzone host %d with p_skey", int(qzone)) << int(qzone) << pSkey << true;
            QTest::addRow("Qzone host %d without", int(qzone)) << int(qzone) << QString() << false;
        }
        for (const Endpoint other : {Endpoint::SignIn, Endpoint::QzoneLanding, Endpoint::Avatar})
            QTest::addRow("other host %d", int(other)) << int(other) << pSkey << false;
    }
    void requestToken()
    {
        QFETCH(int, endpoint);
        QFETCH(QString, pSkey);
        QFETCH(bool, overPSkey);
        QzoneCredentials credentials;
        credentials.setKeys(QStringLiteral("@abcdefghi"), pSkey);
        QCOMPARE(credentials.tokenFor(Endpoint(endpoint)),
                 ComputeGTk(overPSkey ? pSkey : QStringLiteral("@abcdefghi")));
        credentials.clearKeys();
        QVERIFY(credentials.pSkey.isEmpty() && credentials.gTk.isEmpty() && !credentials.signedIn);
    }

    void nickname_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("nickname");
        QTest::newRow("first marker")
            << QStringLiteral("cb({\"data\":{\"name\":\"Tom\",\"x\":{\"name\":\"Ann\"}}})")
            << QStringLiteral("Tom");
        QTest::newRow("no marker") << QStringLiteral("{\"nick\" : \"Tom\"}") << QString();
        QTest::newRow("taken unchanged")
            << QStringLiteral("{\"name\":\" \\u5f20 \"}") << QStringLiteral(" \\u5f20 ");
        QTest::newRow("empty nickname") << QStringLiteral("{\"name\":\"\"}") << QString();
        QTest::newRow("no closing quote") << QStringLiteral("{\"name\":\"Tom") << QStringLiteral("Tom");
    }
    void nickname()
    {
        QFETCH(QString, answer);
        QFETCH(QString, nickname);
        QCOMPARE(NicknameFromProfile(answer), nickname);
    }
};

QTEST_GUILESS_MAIN(TestSignInText)
#include "TestSignInText.moc"
