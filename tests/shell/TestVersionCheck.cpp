#include "ScriptedPrompts.h"
#include "VersionFileServer.h"
#include "app/ActivityLog.h"
#include "app/AlbivexApp.h"
#include "app/Form1.h"
#include "app/VersionCheckController.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace albivex;

namespace {

// Messages of the log lines, without the "[time]" prefix.
QStringList messages(const QStringList &lines)
{
    QStringList result;
    for (const QString &line : lines)
        result << line.mid(line.indexOf(QLatin1Char(']')) + 1);
    return result;
}

QString question(const QString &listed)
{
    return QStringLiteral("发现最新版本![") + listed + QStringLiteral("]\r\n \r\n是否去下载最新版本？");
}

const QString Separator = QString(49, QLatin1Char('*'));
const QString NetworkMessage = QStringLiteral("网络出问题了，暂时无法使用，请您检查！");

} // namespace

class TestVersionCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_server.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        m_server.serve("morvith:V1.0|");
        m_server.setDelayMs(0);
    }
    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
    }

    void listedVersionIsCurrent_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("exactly the entry") << QByteArray("morvith:V1.0|");
        QTest::newRow("among other products") << QByteArray("albix:V3.2|morvith:V1.0|qorn:V9|\r\n");
        QTest::newRow("first entry counts") << QByteArray("morvith:V1.0|morvith:V2.0|");
    }
    void listedVersionIsCurrent()
    {
        QFETCH(QByteArray, file);
        m_server.serve(file);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QSignalSpy concluded(&m_app->versionCheck(), &VersionCheckController::concluded);
        m_app->start();
        QVERIFY(concluded.wait(5000));
        QCOMPARE(concluded.first().first().toBool(), true);

        Form1 &w = m_app->window();
        QVERIFY(w.Command1->isEnabled());
        QVERIFY(w.Command2->isEnabled());
        QVERIFY(w.Command4->isEnabled());
        QCOMPARE(w.statusText(), QStringLiteral("欢迎使用Zorvane软件.."));
        const QStringList lines = messages(m_app->log().lines());
        QCOMPARE(lines.mid(4),
                 (QStringList {Separator, QStringLiteral("当前为最新版本，欢迎使用.."), Separator}));
        QCOMPARE(w.List1->currentRow(), lines.size() - 1);
        QVERIFY(m_prompts->boxes.isEmpty());
        QTest::qWait(50);
        QCOMPARE(quit.count(), 0);
        QCOMPARE(m_server.lastRequestLine(), QByteArray("GET /version/main.txt HTTP/1.1"));
    }

    // Any text that arrives is read as naming some other version, even a broken file
    // or a server's error page.
    void otherVersionOffersTheDownloadAndEnds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("listed");
        QTest::newRow("newer") << QByteArray("morvith:V1.1|") << 200 << QStringLiteral("V1.1");
        QTest::newRow("lower-case v") << QByteArray("morvith:v1.0|") << 200 << QStringLiteral("v1.0");
        QTest::newRow("trailing blank") << QByteArray("morvith:V1.0 |") << 200 << QStringLiteral("V1.0 ");
        QTest::newRow("no bar") << QByteArray("morvith:V1.0") << 200 << QString();
        QTest::newRow("no key") << QByteArray("V1.0|") << 200 << QString();
        QTest::newRow("error page") << QByteArray("<html>Not Found</html>") << 404 << QString();
    }
    void otherVersionOffersTheDownloadAndEnds()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QString, listed);
        m_server.serve(file, status);
        m_prompts->answerNextQuestion(false);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        int quitsWhenAsked = -1;
        connect(&m_app->versionCheck(), &VersionCheckController::concluded, this,
                [&] { quitsWhenAsked = quit.count(); });
        m_app->start();
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(quitsWhenAsked, 0);

        QCOMPARE(m_prompts->boxes.size(), 1);
        const ScriptedPrompts::Box box = m_prompts->boxes.first();
        QVERIFY(box.question);
        QCOMPARE(box.title, QStringLiteral("Zorvane软件"));
        QCOMPARE(box.icon, Prompts::Icon::Information);
        QCOMPARE(box.text, question(listed));
        QVERIFY(m_prompts->opened.isEmpty());

        Form1 &w = m_app->window();
        QCOMPARE(w.statusText(), QStringLiteral("发现最新版本..."));
        QCOMPARE(messages(m_app->log().lines()).mid(4),
                 (QStringList {Separator, QStringLiteral("发现新版本..")}));
        QCOMPARE(w.List1->currentRow(), 5);
        QVERIFY(!w.Command1->isEnabled());
        QVERIFY(!w.Command2->isEnabled());
        QVERIFY(!w.Command4->isEnabled());
    }

    void yesOpensTheDownloadPageThenEnds()
    {
        m_server.serve("morvith:V2.0|");
        m_prompts->answerNextQuestion(true);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        m_app->start();
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(m_prompts->texts(), QStringList {question(QStringLiteral("V2.0"))});
        QCOMPARE(m_prompts->opened, QList<QUrl> {Endpoints(m_server.root()).url(Endpoint::VendorDownload)});
    }

    void unreadableFileSaysSoAndEnds_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("connection closed") << int(VersionFileServer::Mode::Close) << QByteArray();
        QTest::newRow("empty file") << int(VersionFileServer::Mode::Serve) << QByteArray();
        QTest::newRow("nobody listening") << -1 << QByteArray();
    }
    void unreadableFileSaysSoAndEnds()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, body);
        if (mode < 0) {
            // A port that was just free: nothing answers there.
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            const QString root = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
            probe.close();
            m_app = std::make_unique<AlbivexApp>(Endpoints(root), m_prompts.get(), m_prompts.get(),
                                                 m_prompts.get());
        } else {
            m_server.serve(body);
            m_server.setMode(VersionFileServer::Mode(mode));
        }
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        m_app->start();
        QTRY_COMPARE(quit.count(), 1);
        expectNetworkFailure();
        QVERIFY(!m_app->window().Command1->isEnabled());
    }

    void silentSiteCountsAsUnreadableAfterTheBound()
    {
        m_server.setMode(VersionFileServer::Mode::Stall);
        VersionCheckController check(m_app->context(), 300);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QSignalSpy concluded(&check, &VersionCheckController::concluded);
        QElapsedTimer clock;
        clock.start();
        check.run();
        QVERIFY(concluded.wait(5000));
        QVERIFY(clock.elapsed() >= 250);
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(m_prompts->texts(), QStringList {NetworkMessage});
        // A second run does nothing: the check happens once per program run.
        check.run();
        QTest::qWait(50);
        QCOMPARE(concluded.count(), 1);
    }

private:
    void expectNetworkFailure()
    {
        QCOMPARE(m_prompts->boxes.size(), 1);
        const ScriptedPrompts::Box box = m_prompts->boxes.first();
        QVERIFY(!box.question);
        QCOMPARE(box.title, QStringLiteral("Zorvane软件"));
        QCOMPARE(box.icon, Prompts::Icon::Exclamation);
        QCOMPARE(box.text, NetworkMessage);
        QCOMPARE(messages(m_app->log().lines()).mid(4), (QStringList {Separator, NetworkMessage}));
        QCOMPARE(m_app->window().List1->currentRow(), 5);
        QVERIFY(m_prompts->opened.isEmpty());
    }

    VersionFileServer m_server;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;
};

QTEST_MAIN(TestVersionCheck)
#include "TestVersionCheck.moc"
