#include "StandinClient.h"
#include "standin/PreciseDelay.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"
#include "standin/StandinThread.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

Q_DECLARE_METATYPE(albivex::standin::FaultKind)

namespace {

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

// The fault knobs, the hostile answers, the server on its own thread and the program.
class TestStandinFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }
    static QString picture() { return QStringLiteral("/photo/b/V1three/2.jpg"); }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        QVERIFY(m_server->listen());
        m_client = std::make_unique<StandinClient>(m_server->root());
        m_client->useSignIn(knobs().signIn(QString::fromLatin1(MainUin)));
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void faultRuleParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("times");
        QTest::newRow("status") << "/photo/b/*=500" << true << int(FaultKind::Status) << 500 << -1;
        QTest::newRow("429 with Retry-After, twice")
            << "/x=429:30@2" << true << int(FaultKind::Status) << 429 << 2;
        QTest::newRow("stall after headers once")
            << "/x=stall-headers@1" << true << int(FaultKind::StallAfterHeaders) << 500 << 1;
        QTest::newRow("charset") << "*=charset:Big5" << true << int(FaultKind::UnexpectedCharset) << 500
                                 << -1;
        QTest::newRow("unknown kind") << "/x=explode" << false << 0 << 0 << 0;
        QTest::newRow("no path") << "=500" << false << 0 << 0 << 0;
        QTest::newRow("status out of range") << "/x=999" << false << 0 << 0 << 0;
        QTest::newRow("argument where none belongs") << "/x=cut:3" << false << 0 << 0 << 0;
        QTest::newRow("bad count") << "/x=500@many" << false << 0 << 0 << 0;
    }
    void faultRuleParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto rule = FaultRule::parse(text);
        QCOMPARE(rule.has_value(), valid);
        if (!valid)
            return;
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(int, times);
        QCOMPARE(int(rule->kind), kind);
        QCOMPARE(rule->status, status);
        QCOMPARE(rule->times, times);
    }

    void statusFaultsHitTheirPathsForTheirCount_data()
    {
        QTest::addColumn<int>("status");
        for (int status : {500, 502, 503, 403, 404, 429})
            QTest::addRow("%d", status) << status;
    }
    void statusFaultsHitTheirPathsForTheirCount()
    {
        QFETCH(int, status);
        knobs().addFault(FaultRule::httpStatus(QStringLiteral("/photo/b/V1three/*"), status, 2, 3));
        for (int i = 0; i < 2; ++i) {
            const auto failed = m_client->get(picture());
            QCOMPARE(failed.status, status);
            QCOMPARE(failed.header("Retry-After"), QByteArray("3"));
            QVERIFY(failed.body.isEmpty());
        }
        QCOMPARE(m_client->get(QStringLiteral("/photo/c/V1three/2.jpg")).status, 200); // other prefix
        const auto healed = m_client->get(picture());
        QCOMPARE(healed.status, 200);
        QCOMPARE(healed.body, m_server->pictureBytes(picture()));
        QCOMPARE(knobs().requestsTo(picture()).first().fault, QStringLiteral("status"));
        QVERIFY(knobs().requestsTo(picture()).last().fault.isEmpty());
    }

    void wireFaults_data()
    {
        QTest::addColumn<FaultKind>("kind");
        // 1: the network layer reports a transport error; 0: it does not; -1: either, as a
        // body that ends inside a chunk may be reported either way (chunkedCutEndsInsideAChunk
        // checks the bytes themselves).
        QTest::addColumn<int>("transportError");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<int>("bytes"); // -1: fewer than the picture has
        QTest::addColumn<int>("times");
        const int whole = int(StandinServer().pictureBytes(picture()).size());
        QTest::newRow("cut halfway") << FaultKind::CutBody << 1 << QByteArray("image/jpeg") << -1 << 1;
        QTest::newRow("chunked cut short")
            << FaultKind::ChunkedCut << -1 << QByteArray("image/jpeg") << -1 << 1;
        QTest::newRow("longer than announced")
            << FaultKind::LongBody << 0 << QByteArray("image/jpeg") << whole << 1;
        QTest::newRow("empty with 200") << FaultKind::EmptyBody << 0 << QByteArray("image/jpeg") << 0 << 1;
        QTest::newRow("html as picture")
            << FaultKind::HtmlAsPicture << 0 << QByteArray("text/html; charset=utf-8") << -2 << 1;
        // A client resends a request whose connection closed before any answer, so a single
        // close goes unseen: this one closes every time.
        QTest::newRow("closed without answer") << FaultKind::Close << 1 << QByteArray() << 0 << -1;
    }
    void wireFaults()
    {
        QFETCH(FaultKind, kind);
        QFETCH(int, transportError);
        QFETCH(QByteArray, type);
        QFETCH(int, bytes);
        QFETCH(int, times);
        knobs().addFault(FaultRule::make(picture(), kind, times));
        const auto answer = m_client->get(picture());
        QVERIFY(answer.finished);
        if (transportError >= 0)
            QCOMPARE(answer.error != QNetworkReply::NoError, transportError == 1);
        if (transportError == 0)
            QCOMPARE(answer.status, 200);
        if (!type.isEmpty())
            QCOMPARE(answer.header("Content-Type"), type);
        const QByteArray whole = m_server->pictureBytes(picture());
        if (bytes == -1)
            QVERIFY(answer.body.size() < whole.size());
        else if (bytes == -2)
            QVERIFY(answer.body.startsWith("<!DOCTYPE html>"));
        else
            QCOMPARE(answer.body.size(), bytes);
        if (bytes > 0)
            QCOMPARE(answer.body, whole);
        knobs().clearFaults();
        QCOMPARE(m_client->get(picture()).body, whole);
    }

    // The cut chunked body on the wire: one chunk announced longer than the bytes that
    // follow it before the close, so no client can take the body for whole.
    void chunkedCutEndsInsideAChunk()
    {
        StandinThread thread;
        thread.knobs().addFault(FaultRule::make(picture(), FaultKind::ChunkedCut));
        QVERIFY(thread.start());
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, thread.port());
        QVERIFY(socket.waitForConnected(10000));
        socket.write("GET " + picture().toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QByteArray answer;
        while (socket.waitForReadyRead(10000))
            answer += socket.readAll();
        QCOMPARE(socket.state(), QAbstractSocket::UnconnectedState);
        const qsizetype headEnd = answer.indexOf("\r\n\r\n");
        QVERIFY(headEnd > 0);
        QVERIFY(answer.left(headEnd).contains("Transfer-Encoding: chunked"));
        const qsizetype sizeEnd = answer.indexOf("\r\n", headEnd + 4);
        bool ok = false;
        const qint64 announced = answer.mid(headEnd + 4, sizeEnd - headEnd - 4).toLongLong(&ok, 16);
        QVERIFY(ok);
        const qint64 sent = answer.size() - (sizeEnd + 2);
        QVERIFY2(sent > 0 && sent < announced,
                 qPrintable(QStringLiteral("%1 of %2").arg(sent).arg(announced)));
        QCOMPARE(announced, thread.knobs().pictureSize(picture()));
        thread.stop();
    }

    void stallsKeepTheConnectionSilent_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<bool>("headers");
        QTest::newRow("after headers") << FaultKind::StallAfterHeaders << true;
        QTest::newRow("before answer") << FaultKind::StallBeforeAnswer << false;
    }
    void stallsKeepTheConnectionSilent()
    {
        QFETCH(FaultKind, kind);
        QFETCH(bool, headers);
        knobs().addFault(FaultRule::make(picture(), kind));
        QNetworkRequest request(QUrl(m_server->root() + picture()));
        QNetworkReply *reply = m_client->nam().get(request);
        QSignalSpy meta(reply, &QNetworkReply::metaDataChanged);
        QSignalSpy done(reply, &QNetworkReply::finished);
        QTest::qWait(800);
        QCOMPARE(done.count(), 0);
        QCOMPARE(meta.count() > 0, headers);
        QCOMPARE(reply->bytesAvailable(), 0);
        reply->abort();
        delete reply;
    }

    void latencyAddsToEveryAnswerAndRulesAddMore()
    {
        knobs().setLatencyMs(150);
        knobs().addFault(FaultRule::latency(QStringLiteral("/version/main.txt"), 300, 1));
        const auto slowest = m_client->get(QStringLiteral("/version/main.txt"));
        QCOMPARE(slowest.text(), QStringLiteral("morvith:V1.0|"));
        QVERIFY2(slowest.elapsedMs >= 440, QByteArray::number(slowest.elapsedMs));
        QVERIFY(knobs().faults().rules().isEmpty()); // used up by the first request
        const auto slow = m_client->get(QStringLiteral("/version/main.txt"));
        QVERIFY2(slow.elapsedMs >= 140, QByteArray::number(slow.elapsedMs));
    }

    // The latency's clock: every callback at or after its own deadline, in deadline
    // order whatever the order they were given in, none for a context that went.
    void preciseDelayKeepsEachDeadline()
    {
        using namespace std::chrono_literals;
        PreciseDelay delay;
        QObject context;
        auto *gone = new QObject;
        const auto start = PreciseDelay::Clock::now();
        QList<int> order;
        bool early = false;
        std::function<std::function<void()>(int, PreciseDelay::Clock::time_point)> note;
        note = [&](int id, PreciseDelay::Clock::time_point deadline) {
            return [&, id, deadline] {
                early |= PreciseDelay::Clock::now() < deadline;
                order << id;
                if (id == 1) // a deadline added from a callback, before the armed one
                    delay.at(start + 45ms, &context, note(2, start + 45ms));
            };
        };
        delay.at(start + 60ms, &context, note(3, start + 60ms));
        delay.at(start + 20ms, &context, note(1, start + 20ms));
        delay.at(start + 40ms, gone, note(9, start + 40ms));
        delay.at(start - 5ms, &context, note(0, start - 5ms));
        QVERIFY(order.isEmpty()); // even a deadline gone by waits for the event loop
        delete gone;
        QTRY_COMPARE(order.size(), 4);
        QCOMPARE(order, (QList<int> {0, 1, 2, 3}));
        QVERIFY(!early);
    }

    void versionFileAnswersAndFails()
    {
        knobs().setVersionText(QStringLiteral("morvith:V1.1|"));
        QCOMPARE(m_client->get(QStringLiteral("/version/main.txt")).text(), QStringLiteral("morvith:V1.1|"));
        knobs().addFault(FaultRule::httpStatus(QStringLiteral("/version/main.txt"), 404, 1));
        const auto missing = m_client->get(QStringLiteral("/version/main.txt"));
        QCOMPARE(missing.status, 404);
        QVERIFY(missing.body.isEmpty());
        knobs().addFault(FaultRule::make(QStringLiteral("/version/main.txt"), FaultKind::Close));
        const auto closed = m_client->get(QStringLiteral("/version/main.txt"));
        QCOMPARE(closed.status, 0);
        QVERIFY(closed.error != QNetworkReply::NoError);
    }

    void hostileAlbumLists()
    {
        const QUrl list = m_client->albumListV3(m_client->gtk());
        const QString path = QStringLiteral("/fcgi-bin/fcg_list_album_v3");

        knobs().addFault(FaultRule::make(path, FaultKind::ManyCreatetime, 1));
        const QString many = m_client->getUrl(list).text();
        QCOMPARE(many.count(QStringLiteral("createtime")), 100000);
        QCOMPARE(many.count(QStringLiteral("\"pre\" : ")), 100000);

        knobs().addFault(FaultRule::make(path, FaultKind::HugeAlbumList, 1));
        const auto huge = m_client->getUrl(list);
        QVERIFY2(huge.body.size() >= 20 * 1024 * 1024 - 64, QByteArray::number(huge.body.size()));
        QVERIFY(huge.body.size() <= 20 * 1024 * 1024);
        QCOMPARE(huge.text().count(QStringLiteral("createtime")), 3);

        knobs().addFault(FaultRule::make(path, FaultKind::UnbalancedQuotes, 1));
        const QString broken = m_client->getUrl(list).text();
        QVERIFY(broken.count(QLatin1Char('"')) % 2 == 1);
        QVERIFY(broken.count(QStringLiteral("createtime")) >= 2);

        FaultRule charset = FaultRule::make(path, FaultKind::UnexpectedCharset, 1);
        charset.charset = "UTF-16LE";
        knobs().addFault(charset);
        const auto wide = m_client->getUrl(list);
        QCOMPARE(wide.header("Content-Type"), QByteArray("application/x-javascript; charset=UTF-16LE"));
        QVERIFY(!wide.body.contains("createtime"));
        const QString text = QStringDecoder("UTF-16LE").decode(wide.body);
        QCOMPARE(text.count(QStringLiteral("createtime")), MainAlbumCount);
        QVERIFY(text.contains(QStringLiteral("旅行2015")));
    }

    // 200 MB through a server on its own thread, read piece by piece: the same bytes
    // as the knobs' digest, and neither side ever held the picture whole.
    void hugePictureIsStreamed()
    {
        StandinThread thread;
        ExtraAlbum extra;
        extra.pictureCount = 2;
        extra.pictureBytes = 8000;
        extra.bigPictureIndex = 2;
        extra.bigPictureBytes = 200LL * 1024 * 1024;
        const QString id = thread.knobs().addExtraAlbum(extra);
        QVERIFY(thread.start());
        const QString path = QStringLiteral("/photo/b/%1/2.jpg").arg(id);
        const qint64 peakBefore = peakResidentKb();

        QNetworkAccessManager nam;
        QNetworkReply *reply = nam.get(QNetworkRequest(QUrl(thread.root() + path)));
        reply->setReadBufferSize(1024 * 1024);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        qint64 received = 0;
        QByteArray head;
        connect(reply, &QNetworkReply::readyRead, this, [&] {
            const QByteArray piece = reply->readAll();
            if (head.size() < 4)
                head += piece.left(4);
            received += piece.size();
            hash.addData(piece);
        });
        QSignalSpy done(reply, &QNetworkReply::finished);
        QVERIFY(done.wait(120000));
        const QByteArray rest = reply->readAll();
        received += rest.size();
        hash.addData(rest);
        QCOMPARE(reply->error(), QNetworkReply::NoError);
        delete reply;
        QCOMPARE(received, extra.bigPictureBytes);
        QCOMPARE(head.left(3), QByteArray("\xFF\xD8\xFF"));
        const qint64 grewKb = peakResidentKb() - peakBefore;
        QVERIFY2(grewKb < 100 * 1024, qPrintable(QStringLiteral("peak grew by %1 KB").arg(grewKb)));
        QCOMPARE(hash.result(), thread.knobs().pictureDigest(path));
    }

    // The thread wrapper answers while this thread blocks, and its knobs work from here.
    void threadedServerAnswersWhileThisThreadBlocks()
    {
        StandinThread thread;
        thread.knobs().setVersionText(QStringLiteral("morvith:T|"));
        QVERIFY(thread.start());
        QVERIFY(thread.root().startsWith(QStringLiteral("http://127.0.0.1:")));
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, thread.port());
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /version/main.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        while (socket.waitForReadyRead(5000))
            answer += socket.readAll();
        QVERIFY2(answer.startsWith("HTTP/1.1 200 OK\r\n"), answer.constData());
        QVERIFY(answer.endsWith("\r\n\r\nmorvith:T|"));
        QCOMPARE(thread.knobs().requestCount(QStringLiteral("/version/main.txt")), 1);
        thread.stop();
        QCOMPARE(thread.port(), quint16(0));
    }

    void programPrintsItsAddressFirstAndServes()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("requests.log"));
        QProcess program;
        program.start(QStringLiteral(ALBIVEX_STANDIN_EXE),
                      {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--version-text"),
                       QStringLiteral("morvith:V9|"), QStringLiteral("--fault"),
                       QStringLiteral("/photo/b/*=404@1"), QStringLiteral("--request-log"), log});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine(), 10000);
        const QString first = QString::fromUtf8(program.readLine()).trimmed();
        const auto m = QRegularExpression(QStringLiteral("^listening on (http://127\\.0\\.0\\.1:([0-9]+))$"))
                           .match(first);
        QVERIFY2(m.hasMatch(), qPrintable(first));
        QVERIFY(m.captured(2).toInt() > 0);
        StandinClient client(m.captured(1));
        QCOMPARE(client.get(QStringLiteral("/version/main.txt")).text(), QStringLiteral("morvith:V9|"));
        QCOMPARE(client.get(picture()).status, 404);
        QCOMPARE(client.get(picture()).status, 200);
        program.kill();
        program.waitForFinished();
        QFile lines(log);
        QVERIFY(lines.open(QIODevice::ReadOnly));
        QCOMPARE(lines.readAll().count('\n'), 3);

        QProcess help;
        help.start(QStringLiteral(ALBIVEX_STANDIN_EXE), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(10000));
        const QString text = QString::fromUtf8(help.readAllStandardOutput());
        for (const char *number : {MainUin, SecondUin, ClosedUin, NoNicknameUin})
            QVERIFY2(text.contains(QLatin1String(number)), number);

        QProcess bad;
        bad.start(QStringLiteral(ALBIVEX_STANDIN_EXE),
                  {QStringLiteral("--fault"), QStringLiteral("/x=explode")});
        QVERIFY(bad.waitForFinished(10000));
        QCOMPARE(bad.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestStandinFaults)
#include "TestStandinFaults.moc"
