#include "StandinClient.h"
#include "network/FetchText.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QNetworkDiskCache>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

Q_DECLARE_METATYPE(albivex::standin::FaultKind)

// FetchText against the running stand-in: what reaches the wire and what comes back.
class TestFetchText : public QObject
{
    Q_OBJECT

    struct Result
    {
        bool done = false;
        QString text;
        qint64 elapsedMs = 0;
    };

    Result fetch(const QUrl &url, int idleMs = TextRequest::DefaultIdleMs, int waitMs = 20000)
    {
        // Shared, so that a late answer after a failed wait writes into live memory.
        auto result = std::make_shared<Result>();
        QElapsedTimer clock;
        clock.start();
        FetchText(
            m_client->nam(), url, this,
            [result](const QString &text) {
                result->done = true;
                result->text = text;
            },
            idleMs);
        result->done = QTest::qWaitFor([result] { return result->done; }, waitMs);
        result->elapsedMs = clock.elapsed();
        return *result;
    }

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        QVERIFY(m_server->listen());
        m_client = std::make_unique<StandinClient>(m_server->root());
        m_client->useSignIn(m_server->knobs().signIn(QString::fromLatin1(MainUin)));
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void utf8BodyIsDecoded()
    {
        const Result r = fetch(m_client->albumListV3(m_client->gtk()));
        QVERIFY(r.done);
        QVERIFY(r.text.contains(QStringLiteral("\"name\" : \"旅行2015\",")));
        QCOMPARE(r.text.count(QStringLiteral("createtime")), MainAlbumCount);
    }

    void gbkBodyIsDecodedByItsCharset()
    {
        const Result r = fetch(m_client->albumListV2(QString::fromLatin1(SecondUin), m_client->gtk()));
        QVERIFY(r.done);
        QVERIFY(r.text.contains(QStringLiteral("\"name\" : \"风景\",")));
        QVERIFY(r.text.contains(QStringLiteral("\"name\" : \"家人\",")));
        QVERIFY(!r.text.contains(QChar::ReplacementCharacter));
    }

    // A cache that would gladly keep the version file (it says max-age=600) must not
    // answer the second call.
    void twoCallsBothReachTheServer()
    {
        QTemporaryDir cacheDir;
        auto *cache = new QNetworkDiskCache;
        cache->setCacheDirectory(cacheDir.path());
        m_client->nam().setCache(cache);
        const QUrl url(m_server->root() + QStringLiteral("/version/main.txt"));
        QCOMPARE(fetch(url).text, QStringLiteral("morvith:V1.0|"));
        m_server->knobs().setVersionText(QStringLiteral("morvith:V2.0|"));
        QCOMPARE(fetch(url).text, QStringLiteral("morvith:V2.0|"));
        QCOMPARE(m_server->knobs().requestCount(QStringLiteral("/version/main.txt")), 2);
        const LoggedRequest logged = m_server->knobs().requestsTo(QStringLiteral("/version/main.txt")).last();
        QCOMPARE(logged.header("If-Modified-Since"), QByteArray("0"));
    }

    void closedPortGivesEmptyText()
    {
        const QString root = m_server->root();
        m_server.reset(); // nothing listens there any more
        const Result r = fetch(QUrl(root + QStringLiteral("/version/main.txt")));
        QVERIFY(r.done);
        QVERIFY(r.text.isEmpty());
    }

    void brokenTransferGivesEmptyText_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::newRow("closed without answer") << FaultKind::Close;
        QTest::newRow("body cut off halfway") << FaultKind::CutBody;
        QTest::newRow("chunked body cut short") << FaultKind::ChunkedCut;
    }
    void brokenTransferGivesEmptyText()
    {
        QFETCH(FaultKind, kind);
        // A long enough answer that half of it is a real piece of text.
        m_server->knobs().addFault(FaultRule::make(QStringLiteral("/fcgi-bin/fcg_list_album_v3"), kind));
        const Result r = fetch(m_client->albumListV3(m_client->gtk()));
        QVERIFY(r.done);
        QCOMPARE(r.text, QString());
    }

    void stallEndsWithEmptyTextAfterIdleLimit_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::newRow("before any answer") << FaultKind::StallBeforeAnswer;
        QTest::newRow("after the headers") << FaultKind::StallAfterHeaders;
    }
    void stallEndsWithEmptyTextAfterIdleLimit()
    {
        QFETCH(FaultKind, kind);
        m_server->knobs().addFault(FaultRule::make(QStringLiteral("/version/main.txt"), kind));
        const Result r = fetch(QUrl(m_server->root() + QStringLiteral("/version/main.txt")), 500, 5000);
        QVERIFY(r.done);
        QVERIFY(r.text.isEmpty());
        QVERIFY2(r.elapsedMs >= 450 && r.elapsedMs < 4000, qPrintable(QString::number(r.elapsedMs)));
    }

    // Slow but moving answers are not cut: the idle limit counts silence, not duration.
    void latencyBelowIdleLimitStillAnswers()
    {
        m_server->knobs().setLatencyMs(300);
        const Result r = fetch(QUrl(m_server->root() + QStringLiteral("/version/main.txt")), 1500);
        QCOMPARE(r.text, QStringLiteral("morvith:V1.0|"));
        QVERIFY(r.elapsedMs >= 290);
    }

    // The services' error pages are answers like any other.
    void errorStatusStillGivesTheBody()
    {
        FaultRule rule = FaultRule::httpStatus(QStringLiteral("/version/main.txt"), 500);
        rule.body = "<html>oops</html>";
        m_server->knobs().addFault(rule);
        QCOMPARE(fetch(QUrl(m_server->root() + QStringLiteral("/version/main.txt"))).text,
                 QStringLiteral("<html>oops</html>"));
    }

    // For the callers that tell answers apart by their status; 0 when no answer came.
    void statusComesWithTheBody_data()
    {
        QTest::addColumn<int>("fault"); // 0: none, -1: connection closed, else a status
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("200") << 0 << 200 << QStringLiteral("morvith:V1.0|");
        QTest::newRow("403") << 403 << 403 << QStringLiteral("no");
        QTest::newRow("429") << 429 << 429 << QStringLiteral("no");
        QTest::newRow("closed") << -1 << 0 << QString();
    }
    void statusComesWithTheBody()
    {
        QFETCH(int, fault);
        QFETCH(int, status);
        QFETCH(QString, text);
        const QString path = QStringLiteral("/version/main.txt");
        if (fault > 0) {
            FaultRule rule = FaultRule::httpStatus(path, fault);
            rule.body = "no";
            m_server->knobs().addFault(rule);
        } else if (fault < 0) {
            m_server->knobs().addFault(FaultRule::make(path, FaultKind::Close));
        }
        std::optional<TextAnswer> answer;
        FetchTextAnswer(m_client->nam(), QUrl(m_server->root() + path), this,
                        [&](const TextAnswer &a) { answer = a; });
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        QCOMPARE(answer->httpStatus, status);
        QCOMPARE(answer->text, text);
    }

    void oversizedAnswerGivesEmptyText()
    {
        FaultRule rule
            = FaultRule::make(QStringLiteral("/fcgi-bin/fcg_list_album_v3"), FaultKind::HugeAlbumList);
        rule.bytes = 3 * 1024 * 1024;
        m_server->knobs().addFault(rule);
        bool done = false;
        QString text = QStringLiteral("unset");
        auto *request = new TextRequest(m_client->nam(), m_client->albumListV3(m_client->gtk()), this,
                                        TextRequest::DefaultIdleMs, 1024 * 1024);
        connect(request, &TextRequest::finished, this, [&](const QString &t) {
            done = true;
            text = t;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        QVERIFY(text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFetchText)
#include "TestFetchText.moc"
