#include "network/FetchText.h"
#include "network/QueryString.h"
#include "qzone/Endpoints.h"
#include "qzone/GTk.h"
#include "qzone/UnescapeUnicode.h"
#include "shell/VersionText.h"

#include <QtTest>

using namespace albivex;

class TestTextHelpers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unescape_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two escapes") << QStringLiteral("\\u4e2d\\u6587") << QStringLiteral("中文");
        QTest::newRow("text before first marker kept")
            << QStringLiteral("2015\\u5e74") << QStringLiteral("2015年");
        QTest::newRow("rest of piece kept") << QStringLiteral("\\u4E2Dabc") << QStringLiteral("中abc");
        QTest::newRow("bad hex keeps piece, drops marker")
            << QStringLiteral("a\\uZZZZb") << QStringLiteral("aZZZZb");
        QTest::newRow("short piece") << QStringLiteral("x\\u41") << QStringLiteral("xA");
        QTest::newRow("no marker") << QStringLiteral("plain \\n text") << QStringLiteral("plain \\n text");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("marker at end") << QStringLiteral("ab\\u") << QStringLiteral("ab");
        QTest::newRow("digits kept as text after four")
            << QStringLiteral("\\u00412345") << QStringLiteral("A2345");
        QTest::newRow("upper-case U is no marker") << QStringLiteral("\\U4e2d") << QStringLiteral("\\U4e2d");
    }
    void unescape()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(UnescapeUnicode(input), expected);
        QString own = input;
        own.detach(); // decoded in its own buffer
        QCOMPARE(UnescapeUnicode(std::move(own)), expected);
    }

    void hexToChar()
    {
        QCOMPARE(HexToChar(QStringLiteral("76f8")), QStringLiteral("相"));
        QCOMPARE(HexToChar(QStringLiteral("518C")), QStringLiteral("册"));
        QCOMPARE(HexToChar(QString()), QString());
        QCOMPARE(HexToChar(QStringLiteral("g1")), QStringLiteral("g1"));
        QCOMPARE(HexToChar(QStringLiteral(" 41")), QStringLiteral(" 41"));
    }

    void versionText() { QCOMPARE(VersionText(), QStringLiteral("V1.0.0")); }

    void gtk_data()
    {
        QTest::addColumn<QString>("skey");
        QTest::addColumn<QString>("expected");
        QTest::newRow("abc stays below 2^31") << QStringLiteral("abc") << QStringLiteral("193485963");
        QTest::newRow("abcd keeps low 31 bits") << QStringLiteral("abcd") << QStringLiteral("2090069583");
        QTest::newRow("empty") << QString() << QStringLiteral("5381");
    }
    void gtk()
    {
        QFETCH(QString, skey);
        QFETCH(QString, expected);
        QCOMPARE(ComputeGTk(skey), expected);
    }

    // The exact recurrence on unbounded integers, written independently with digit
    // strings, must agree with the wrap-around computation for real skey shapes.
    void gtkAgreesWithExactArithmetic()
    {
        auto exact = [](const QString &s) {
            // h as a little-endian vector of base-10^4 limbs.
            QVector<quint64> h {5381};
            for (const QChar c : s) {
                quint64 carry = c.unicode();
                for (auto &limb : h) {
                    const quint64 v = limb * 33 + carry;
                    limb = v % 10000;
                    carry = v / 10000;
                }
                while (carry) {
                    h.push_back(carry % 10000);
                    carry /= 10000;
                }
            }
            // value mod 2^31 from the limbs, most significant first.
            quint64 mod = 0;
            for (int i = h.size() - 1; i >= 0; --i)
                mod = (mod * 10000 + h[i]) % (quint64(1) << 31);
            return QString::number(mod);
        };
        const QString alphabet = QStringLiteral(
            "!#$%&()*+-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{|}~");
        QRandomGenerator rng(20261207);
        for (int n = 0; n < 500; ++n) {
            QString skey = QStringLiteral("@");
            for (int i = 0; i < 9 + n % 40; ++i)
                skey += alphabet.at(rng.bounded(alphabet.size()));
            QCOMPARE(ComputeGTk(skey), exact(skey));
        }
    }

    void endpointsRebase()
    {
        const Endpoints published;
        QVERIFY(published.text(Endpoint::SignIn).startsWith(QStringLiteral("https://")));
        const Endpoints local(QStringLiteral("http://127.0.0.1:8123/"));
        QCOMPARE(local.text(Endpoint::SignIn), QStringLiteral("http://127.0.0.1:8123/cgi-bin/xlogin"));
        QCOMPARE(local.text(Endpoint::SecurityCentre), QStringLiteral("http://127.0.0.1:8123/"));
        QCOMPARE(local.text(Endpoint::AlbumListV2),
                 QStringLiteral("http://127.0.0.1:8123/p/shalist.photo/fcgi-bin/fcg_list_album_v2"));
        QCOMPARE(local.text(Endpoint::VersionFile), QStringLiteral("http://127.0.0.1:8123/version/main.txt"));
        QVERIFY(local.isQqCookieDomain(QStringLiteral("127.0.0.1")));
        QVERIFY(!local.isQqCookieDomain(QStringLiteral("example.org")));
        QVERIFY(published.isQqCookieDomain(QStringLiteral(".qq.com")));
        QVERIFY(published.isQqCookieDomain(QStringLiteral("user.qzone.qq.com")));
        QVERIFY(!published.isQqCookieDomain(QStringLiteral("notqq.com")));
    }

    void queryKeepsOrderAndEncodesOnlyWhatBreaks()
    {
        const QueryItems items {{QStringLiteral("g_tk"), QStringLiteral("193485963")},
                                {QStringLiteral("callbackFun"), QString()},
                                {QStringLiteral("s_url"), QStringLiteral("https://aq.qq.com/")},
                                {QStringLiteral("topicId"), QStringLiteral("V1a&b=c#d e")}};
        QCOMPARE(BuildQuery(items),
                 QStringLiteral("g_tk=193485963&callbackFun=&s_url=https://aq.qq.com/"
                                "&topicId=V1a%26b%3Dc%23d%20e"));
    }

    void decodeBodyByCharset()
    {
        const QByteArray gbk("\xc4\xe3\xba\xc3");
        QCOMPARE(DecodeBody(gbk, "application/x-javascript; charset=gbk"), QStringLiteral("你好"));
        QCOMPARE(DecodeBody(gbk, "text/html; charset=\"GBK\""), QStringLiteral("你好"));
        QCOMPARE(DecodeBody(QByteArray("\xe4\xbd\xa0"), "text/plain"), QStringLiteral("你"));
        QCOMPARE(DecodeBody(QByteArray("\xe4\xbd\xa0"), "text/plain; charset=x-unknown-thing"),
                 QStringLiteral("你"));
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "TestTextHelpers.moc"
