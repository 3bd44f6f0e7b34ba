#include "FinishedReplies.h"
#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "shell/ui/VersionCheckController.h"
#include "standin/StandinThread.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/StatusBar.h"

#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>
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

const QString VersionPath = QStringLiteral("/version/main.txt");
const QString Separator = QString(49, QLatin1Char('*'));
const QString NetworkMessage = QStringLiteral("网络出问题了，暂时无法使用，请您检查！");

} // namespace

class TestVersionCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }
    void init()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        m_standin.knobs().clearRequests();
    }
    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
        m_standin.knobs().clearFaults();
        m_standin.knobs().setVersionText(QStringLiteral("morvith:V1.0|"));
    }

    void listedVersionIsCurrent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("exactly the entry") << QStringLiteral("morvith:V1.0|");
        QTest::newRow("among other products") << QStringLiteral("albix:V3.2|morvith:V1.0|qorn:V9|\r\n");
        QTest::newRow("first entry counts") << QStringLiteral("morvith:V1.0|morvith:V2.0|");
    }
    void listedVersionIsCurrent()
    {
        QFETCH(QString, file);
        m_standin.knobs().setVersionText(file);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QSignalSpy concluded(&m_app->versionCheck(), &VersionCheckController::concluded);
        m_app->start();
        QVERIFY(concluded.wait(5000));
        QCOMPARE(concluded.first().first().toBool(), true);

        MainWindow &w = m_app->window();
        QVERIFY(w.listOwnAlbumsButton->isEnabled());
        QVERIFY(w.signInButton->isEnabled());
        QVERIFY(w.listOtherAlbumsButton->isEnabled());
        QCOMPARE(w.statusText(), QStringLiteral("欢迎使用Zorvane软件.."));
        const QStringList lines = messages(m_app->log().lines());
        QCOMPARE(lines.mid(4),
                 (QStringList {Separator, QStringLiteral("当前为最新版本，欢迎使用.."), Separator}));
        QCOMPARE(w.activityLogList->currentRow(), lines.size() - 1);
        // The check ends with "concluded"; only a box's answer could still ask to quit,
        // and there is none.
        QVERIFY(m_prompts->boxes.isEmpty());
        QCOMPARE(quit.count(), 0);
        QCOMPARE(m_standin.knobs().requestCount(VersionPath), 1);
    }

    // Any text that arrives is read as naming some other version, even a broken file
    // or a server's error page.
    void otherVersionOffersTheDownloadAndEnds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("listed");
        QTest::newRow("newer") << QStringLiteral("morvith:V1.1|") << 200 << QStringLiteral("V1.1");
        QTest::newRow("lower-case v") << QStringLiteral("morvith:v1.0|") << 200 << QStringLiteral("v1.0");
        QTest::newRow("trailing blank") << QStringLiteral("morvith:V1.0 |") << 200 << QStringLiteral("V1.0 ");
        QTest::newRow("no bar") << QStringLiteral("morvith:V1.0") << 200 << QString();
        QTest::newRow("no key") << QStringLiteral("V1.0|") << 200 << QString();
        QTest::newRow("error page") << QStringLiteral("<html>Not Found</html>") << 404 << QString();
    }
    void otherVersionOffersTheDownloadAndEnds()
    {
        QFETCH(QString, file);
        QFETCH(int, status);
        QFETCH(QString, listed);
        if (status == 200) {
            m_standin.knobs().setVersionText(file);
        } else {
            standin::FaultRule page = standin::FaultRule::httpStatus(VersionPath, status);
            page.body = file.toUtf8();
            m_standin.knobs().addFault(page);
        }
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

        MainWindow &w = m_app->window();
        QCOMPARE(w.statusText(), QStringLiteral("发现最新版本..."));
        QCOMPARE(messages(m_app->log().lines()).mid(4),
                 (QStringList {Separator, QStringLiteral("发现新版本..")}));
        QCOMPARE(w.activityLogList->currentRow(), 5);
        QVERIFY(!w.listOwnAlbumsButton->isEnabled());
        QVERIFY(!w.signInButton->isEnabled());
        QVERIFY(!w.listOtherAlbumsButton->isEnabled());
    }

    void yesOpensTheDownloadPageThenEnds()
    {
        m_standin.knobs().setVersionText(QStringLiteral("morvith:V2.0|"));
        m_prompts->answerNextQuestion(true);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        m_app->start();
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(m_prompts->texts(), QStringList {question(QStringLiteral("V2.0"))});
        QCOMPARE(m_prompts->opened, QList<QUrl> {Endpoints(m_standin.root()).url(Endpoint::VendorDownload)});
    }

    void unreadableFileSaysSoAndEnds_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("connection closed") << int(standin::FaultKind::Close);
        QTest::newRow("empty file") << int(standin::FaultKind::EmptyBody);
        QTest::newRow("error status without a body") << int(standin::FaultKind::Status);
        QTest::newRow("body cut off") << int(standin::FaultKind::CutBody);
        QTest::newRow("nobody listening") << -1;
    }
    void unreadableFileSaysSoAndEnds()
    {
        QFETCH(int, fault);
        if (fault < 0) {
            // A port that was just free: nothing answers there.
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            const QString root = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
            probe.close();
            m_app = std::make_unique<AlbivexApp>(Endpoints(root), m_prompts.get(), m_prompts.get(),
                                                 m_prompts.get());
        } else {
            m_standin.knobs().addFault(standin::FaultRule::make(VersionPath, standin::FaultKind(fault)));
        }
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        m_app->start();
        QTRY_COMPARE(quit.count(), 1);
        expectNetworkFailure();
        QVERIFY(!m_app->window().listOwnAlbumsButton->isEnabled());
    }

    void silentSiteCountsAsUnreadableAfterTheBound()
    {
        m_standin.knobs().addFault(
            standin::FaultRule::make(VersionPath, standin::FaultKind::StallBeforeAnswer));
        VersionCheckController check(m_app->network(), m_app->endpoints(), m_app->log(), m_app->prompts(),
                                     m_app->urls(), *m_app->window().statusBar, {}, 300);
        connect(&check, &VersionCheckController::quitRequested, m_app.get(), &AlbivexApp::quitRequested);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QSignalSpy concluded(&check, &VersionCheckController::concluded);
        QElapsedTimer clock;
        clock.start();
        check.run();
        QVERIFY(concluded.wait(5000));
        QVERIFY(clock.elapsed() >= 250);
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(m_prompts->texts(), QStringList {NetworkMessage});
        // A second run does nothing: the check happens once per program run, so no
        // second request reaches the site.
        check.run();
        QVERIFY(SettleNetwork(m_app->network(), m_standin.root()));
        QCOMPARE(m_standin.knobs().requestCount(VersionPath), 1);
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
        QCOMPARE(m_app->window().activityLogList->currentRow(), 5);
        QVERIFY(m_prompts->opened.isEmpty());
    }

    standin::StandinThread m_standin;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;
};

QTEST_MAIN(TestVersionCheck)
#include "TestVersionCheck.moc"
