#include "StandinClient.h"
#include "network/QueryString.h"
#include "qzone/BoardListParser.h"
#include "qzone/BoardText.h"
#include "standin/BoardRoutes.h"
#include "standin/ErrorAnswer.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QImage>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

// The stand-in's 留言板 over real HTTP, read with the tool's own reader and checked
// against the messages its data set says it holds.
class TestStandinBoard : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }

    void signIn()
    {
        m_client = std::make_unique<StandinClient>(m_server->root());
        m_client->useSignIn(knobs().signIn(QString::fromLatin1(MainUin)));
        m_client->get(QStringLiteral("/qzone/v5/loginsucc.html?para=izone"));
        if (!m_client->cookie("p_skey").isEmpty())
            m_client->useTokenKey(m_client->cookie("p_skey"));
    }
    BoardListPage list(const QString &host, int start, const QString &gTk = QString())
    {
        const QUrl url = UrlWithQuery(m_server->root() + QLatin1String(BoardRoutes::ListPath),
                                      {{"uin", MainUin},
                                       {"hostUin", host},
                                       {"start", QString::number(start)},
                                       {"num", "20"},
                                       {"format", "jsonp"},
                                       {"inCharset", "utf-8"},
                                       {"outCharset", "utf-8"},
                                       {"g_tk", gTk.isNull() ? m_client->gtk() : gTk}});
        return ParseBoardList(QString::fromUtf8(m_client->getUrl(url).body));
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        QVERIFY(m_server->listen());
        signIn();
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    // Every message and reply, page by page, as the book holds them; private texts
    // reach only the board's owner.
    void pagesGiveEveryMessage_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("extra");
        QTest::newRow("own board") << false << MainUin << 0;
        QTest::newRow("own board, today, extras") << true << MainUin << 45;
        QTest::newRow("another's board: its private message hidden") << false << SecondUin << 0;
    }
    void pagesGiveEveryMessage()
    {
        QFETCH(bool, today);
        QFETCH(QString, host);
        QFETCH(int, extra);
        if (today) {
            knobs().setProfile(Profile::Today);
            signIn();
        }
        knobs().addExtraBoard(extra);
        const MoodSpace space = host == QLatin1String(MainUin) ? MoodSpace::Main : MoodSpace::Second;
        const QList<BoardInfo> expected = knobs().data().board().messages(space);
        int start = 0, pages = 0, secrets = 0, pictures = 0;
        for (;; ++pages) {
            const BoardListPage page = list(host, start);
            QCOMPARE(page.code, std::optional<int>(0));
            QCOMPARE(page.total, int(expected.size()));
            QVERIFY(page.messages.size() <= BoardRoutes::MaxPageSize);
            if (page.messages.isEmpty())
                break;
            for (const BoardMessage &m : page.messages) {
                const BoardInfo &want = expected.at(start++);
                QCOMPARE(m.id, want.id);
                QCOMPARE(m.secret, want.secret);
                QCOMPARE(m.pubtime, QString::number(want.time));
                QCOMPARE(int(m.replies.size()), int(want.replies.size()));
                const BoardText text = BoardPlainText(m.ubbContent);
                const bool hidden = want.secret && space != MoodSpace::Main;
                QCOMPARE(text.text, hidden ? QString() : BoardPlainText(want.ubb).text);
                secrets += want.secret;
                if (!hidden && want.picture) {
                    ++pictures;
                    QCOMPARE(text.pictures, QStringList {m_server->root() + want.picturePath()});
                    QVERIFY(!QImage::fromData(m_client->get(want.picturePath()).body).isNull());
                }
            }
        }
        QCOMPARE(start, int(expected.size()));
        QCOMPARE(pages, (int(expected.size()) + 19) / 20);
        QCOMPARE(secrets, 1);
        QCOMPARE(pictures > 0, space == MoodSpace::Main);
    }

    // A closed board refuses, a wrong g_tk is not signed in, the throttle turns the
    // list away, and an address of no picture is none.
    void refusalsAndThrottle()
    {
        QCOMPARE(list(QString::fromLatin1(ClosedUin), 0).code, std::optional<int>(ErrorAnswer::MoodsRefused));
        QCOMPARE(list(QString::fromLatin1(MainUin), 0, QStringLiteral("1")).code,
                 std::optional<int>(ErrorAnswer::NotSignedIn));
        QCOMPARE(list(QString::fromLatin1(ThirdUin), 0).messages.size(), qsizetype(ThirdBoardCount));
        knobs().setThrottle(1, 2);
        QCOMPARE(list(QString::fromLatin1(MainUin), 0).code, std::optional<int>(0));
        QCOMPARE(list(QString::fromLatin1(MainUin), 0).code, std::optional<int>(-10001));
        knobs().setThrottle(0, 0);
        QCOMPARE(m_client->get(QStringLiteral("/board/p/10000000.jpg")).status, 404); // message 1: no picture
    }
};

QTEST_GUILESS_MAIN(TestStandinBoard)
#include "TestStandinBoard.moc"
