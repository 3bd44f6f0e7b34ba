#include "qzone/BoardListParser.h"
#include "qzone/BoardRequest.h"
#include "qzone/BoardText.h"
#include "qzone/Endpoints.h"

#include <QUrlQuery>
#include <QtTest>

using namespace albivex;

// The 留言板 request, its item-by-item reader and the UBB text.
class TestBoardList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestAsksThePage()
    {
        const QUrl url
            = BoardUrl(Endpoints(), {QStringLiteral("111"), QStringLiteral("222"), QStringLiteral("99"), 40});
        QCOMPARE(url.host(), QStringLiteral("h5.qzone.qq.com"));
        QCOMPARE(url.path(), QStringLiteral("/proxy/domain/m.qzone.qq.com/cgi-bin/new/get_msgb"));
        const QUrlQuery q(url);
        QCOMPARE(q.queryItemValue("uin"), QStringLiteral("111"));
        QCOMPARE(q.queryItemValue("hostUin"), QStringLiteral("222"));
        QCOMPARE(q.queryItemValue("start"), QStringLiteral("40"));
        QCOMPARE(q.queryItemValue("num"), QStringLiteral("20"));
        QCOMPARE(q.queryItemValue("g_tk"), QStringLiteral("99"));
        QCOMPARE(q.queryItemValue("format") + q.queryItemValue("inCharset") + q.queryItemValue("outCharset"),
                 QStringLiteral("jsonputf-8utf-8"));
        QVERIFY(IsQzoneHost(Endpoint::Board));
    }

    // Each message from its own item, whatever the others lack or add.
    void messagesKeepTheirOwnValues_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("ids"); // id|nickname|secret|pubtime|ubb|replies
        QTest::addColumn<int>("total");
        QTest::newRow("jsonp, replies, unknown keys") << QString::fromUtf8(
            "_Callback({\"code\":0,\"subcode\":0,\"message\":\"\",\"data\":{\"total\":\"2\",\"commentList\":["
            "\n{\"id\":\"7\",\"uin\":1,\"nickname\":\"A\\u4e59\",\"secret\":0,\"pubtime\":1600000000,"
            "\"ubbContent\":\"hi [em]e1[/em]\",\"x\":{\"id\":\"9\"},\n "
            "\"replyList\":[{\"uin\":2,\"nick\":\"B\",\"time\":1600000100,\"content\":\"re\"},{\"nick\":"
            "\"C\"}]},\n{\"uin\":3,\"secret\":\"1\",\"ubbContent\":\"\",\"replyList\":null}]}});")
                                                      << QStringList {"7|A乙|0|1600000000|hi [em]e1[/em]|2",
                                                                      "||1|||0"}
                                                      << 2;
        QTest::newRow("bare json, no data")
            << QString::fromUtf8("{\"code\":-10031,\"message\":\"权限\"}") << QStringList() << -1;
        QTest::newRow("hostile: damaged text, negative total")
            << QString::fromUtf8("cb({\"data\":{\"total\":-5,\"commentList\":[{\"id\":\"a\\\",\"nickname\":"
                                 "\"N\"},{\"id\":\"b\",\"replyList\":[{\"content\":\"x\\\"y\"}]}]}})")
            << QStringList {"a\"|N|0|||0", "b||0|||1"} << -1;
    }
    void messagesKeepTheirOwnValues()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, ids);
        QFETCH(int, total);
        const BoardListPage page = ParseBoardList(answer);
        QCOMPARE(page.total, total);
        QStringList got;
        for (const BoardMessage &m : page.messages)
            got << QStringList {m.id,      m.nickname,   QString::number(m.secret),
                                m.pubtime, m.ubbContent, QString::number(m.replies.size())}
                       .join(QLatin1Char('|'));
        QCOMPARE(got, ids);
        if (QTest::currentDataTag() == QByteArray("jsonp, replies, unknown keys")) {
            QCOMPARE(page.messages.first().replies.first().content, QStringLiteral("re"));
            QCOMPARE(page.messages.first().replies.last().uin, QString());
        }
    }

    void ubbBecomesPlainText_data()
    {
        QTest::addColumn<QString>("ubb");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pictures");
        QTest::newRow("plain") << "你好"
                               << "你好" << QStringList();
        QTest::newRow("colour keeps its text, emoji stays") << "[ffg,#ff0000,宋体]红[/ft]和[em]e100[/em]"
                                                            << "红和[em]e100[/em]" << QStringList();
        QTest::newRow("bold, link, any case") << "[B]a[/b][url=http://x]b[/URL][ft=1,2]c[/ft]"
                                              << "abc" << QStringList();
        QTest::newRow("pictures taken out")
            << "看[img] http://h/1.jpg [/img]这[IMG]http://h/2.jpg[/IMG][img][/img]"
            << "看这" << QStringList {"http://h/1.jpg", "http://h/2.jpg"};
        QTest::newRow("unknown codes and stray brackets stay") << "[x]a[b [/ft"
                                                               << "[x]a[b [/ft" << QStringList();
        QTest::newRow("unclosed picture stays") << "a[img]http://h"
                                                << "a[img]http://h" << QStringList();
    }
    void ubbBecomesPlainText()
    {
        QFETCH(QString, ubb);
        QFETCH(QString, text);
        QFETCH(QStringList, pictures);
        const BoardText plain = BoardPlainText(ubb);
        QCOMPARE(plain.text, text);
        QCOMPARE(plain.pictures, pictures);
    }
};

QTEST_GUILESS_MAIN(TestBoardList)
#include "TestBoardList.moc"
