#include "qzone/CookieCapture.h"

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
        QTest::newRow("two zeros, cookies around")
            << QStringLiteral("pgv_pvid=1; skey=@AbC12xYz9; ptcz=ab; uin=o0012345678; RK=x") << true
            << QStringLiteral("@AbC12xYz9") << QStringLiteral("12345678");
        QTest::newRow("one zero") << QStringLiteral("uin=o0123456789; skey=@123456789") << true
                                  << QStringLiteral("@123456789") << QStringLiteral("123456789");
        QTest::newRow("five zeros") << QStringLiteral("skey=@abcdefghi; uin=o0000012345;") << true
                                    << QStringLiteral("@abcdefghi") << QStringLiteral("12345");
        QTest::newRow("uin at the very end") << QStringLiteral("skey=@abcdefghi; uin=o0087654321") << true
                                             << QStringLiteral("@abcdefghi") << QStringLiteral("87654321");
        QTest::newRow("all zeros keep one digit")
            << QStringLiteral("skey=@abcdefghi; uin=o0000000000") << true << QStringLiteral("@abcdefghi")
            << QStringLiteral("0");
        QTest::newRow("first skey and first uin")
            << QStringLiteral("skey=@111111111; uin=o0011111111; skey=@222222222; uin=o0022222222") << true
            << QStringLiteral("@111111111") << QStringLiteral("11111111");
        QTest::newRow("skey cut short by the end")
            << QStringLiteral("uin=o001; skey=@ab") << true << QStringLiteral("@ab") << QStringLiteral("1");
        QTest::newRow("skey without uin waits")
            << QStringLiteral("skey=@abcdefghi; p_skey=x") << false << QString() << QString();
        QTest::newRow("uin without skey waits")
            << QStringLiteral("uin=o0012345678; skey=") << false << QString() << QString();
        QTest::newRow("uin not a number waits")
            << QStringLiteral("skey=@abcdefghi; uin=o; x=1") << false << QString() << QString();
        QTest::newRow("empty text") << QString() << false << QString() << QString();
    }
    void capture()
    {
        QFETCH(QString, cookies);
        QFETCH(bool, captured);
        QFETCH(QString, skey);
        QFETCH(QString, uin);
        const std::optional<CookieCapture> result = CaptureCookieText(cookies);
        QCOMPARE(result.has_value(), captured);
        if (result) {
            QCOMPARE(result->skey, skey);
            QCOMPARE(result->uin, uin);
        }
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
