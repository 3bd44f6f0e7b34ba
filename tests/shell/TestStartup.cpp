#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "shell/ui/VersionCheckController.h"
#include "standin/StandinThread.h"
#include "storage/SaveFolder.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/StatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;

namespace {

// "[" + time of day + "]" + message, the time as the locale writes it.
bool isLogLine(const QString &line, const QString &message)
{
    static const QRegularExpression time(QStringLiteral("^\\[\\d{1,2}:\\d{2}:\\d{2}[^\\]]*\\]"));
    const QRegularExpressionMatch m = time.match(line);
    return m.hasMatch() && line.mid(m.capturedLength()) == message;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }
    void init()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
    }
    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
        m_standin.knobs().setLatencyMs(0);
    }

    void welcomeLinesInOrderWithTheLastSelected()
    {
        m_standin.knobs().setLatencyMs(400);
        m_app->start();
        const QStringList lines = m_app->log().lines();
        QCOMPARE(lines.size(), 4);
        QVERIFY2(isLogLine(lines[0], ActivityLog::separator()), qPrintable(lines[0]));
        QVERIFY2(isLogLine(lines[1], QStringLiteral("欢迎使用Zorvane软件..")), qPrintable(lines[1]));
        QVERIFY2(isLogLine(lines[2], ActivityLog::separator()), qPrintable(lines[2]));
        QVERIFY2(isLogLine(lines[3], QStringLiteral("正在检测是否有最新版本..")), qPrintable(lines[3]));
        QCOMPARE(m_app->window().activityLogList->currentRow(), 3);
        QCOMPARE(ActivityLog::separator(), QString(49, QLatin1Char('*')));
    }

    // Until the vendor's file has been read, nothing that signs in or lists can be used,
    // while the window is already on screen and keeps handling events.
    void windowShownAndLiveBeforeTheCheckEnds()
    {
        m_standin.knobs().setLatencyMs(600);
        QSignalSpy concluded(&m_app->versionCheck(), &VersionCheckController::concluded);
        m_app->start();
        MainWindow &w = m_app->window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        bool timerRan = false;
        QTimer::singleShot(50, this, [&] { timerRan = true; });
        QTRY_VERIFY(timerRan);
        QCOMPARE(concluded.count(), 0);
        QVERIFY(!w.listOwnAlbumsButton->isEnabled());
        QVERIFY(!w.signInButton->isEnabled());
        QVERIFY(!w.listOtherAlbumsButton->isEnabled());
        QCOMPARE(w.statusText(), QStringLiteral("正在检测程序是否还有最新版本.."));
        QVERIFY(concluded.wait(5000));
        QVERIFY(w.listOwnAlbumsButton->isEnabled());
    }

    void openingState()
    {
        m_app->start();
        MainWindow &w = m_app->window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.qualityCombo->count(), 3);
        QCOMPARE(w.qualityCombo->itemText(0), QStringLiteral("普通"));
        QCOMPARE(w.qualityCombo->itemText(1), QStringLiteral("高清"));
        QCOMPARE(w.qualityCombo->itemText(2), QStringLiteral("原图"));
        QCOMPARE(w.qualityCombo->currentText(), QStringLiteral("高清"));
        QCOMPARE(w.findChild<QCheckBox *>(QStringLiteral("onlyNew"))->text(), QStringLiteral("只下载新照片"));
        QVERIFY(!w.onlyNewCheck->isChecked());
        QCOMPARE(w.statusBar->panelText(3), QStringLiteral("V1.0.0"));
        QVERIFY(m_app->state().albumJobIdle);

        QCOMPARE(w.size(), QSize(981, 598));
        QCOMPARE(w.frameGeometry().center(), w.screen()->availableGeometry().center());
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!w.logoLabel->pixmap().isNull());
        QVERIFY(!w.avatarLabel->pixmap().isNull());
        QVERIFY(!w.defaultAvatarLabel->pixmap().isNull());
        QVERIFY(!qApp->styleSheet().isEmpty());
    }

    void presentDefaultFolderLeftUntouched()
    {
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/QQ空间相册");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/12345/旅行")));
        QFile kept(folder + QStringLiteral("/12345/旅行/1.a.jpg"));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("picture bytes");
        kept.close();

        m_app->start();
        QCOMPARE(m_app->window().saveFolderEdit->text(), QDir::toNativeSeparators(folder));
        QTRY_VERIFY(m_app->window().listOwnAlbumsButton->isEnabled());
        QVERIFY(m_prompts->boxes.isEmpty());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("picture bytes"));
        kept.close();
        QVERIFY(QDir(folder + QStringLiteral("/12345")).removeRecursively());
    }

    void defaultFolderFallsBackToPictures()
    {
        QTemporaryDir sandbox;
        QVERIFY(sandbox.isValid());
        // A program folder below a plain file cannot hold a new folder, even for root.
        QFile blocker(sandbox.filePath(QStringLiteral("program")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString unwritable = sandbox.filePath(QStringLiteral("program/bin"));
        const QString pictures = sandbox.filePath(QStringLiteral("home/Pictures"));

        const QString chosen = DefaultSaveFolder(unwritable, pictures);
        QCOMPARE(chosen, QDir::toNativeSeparators(pictures + QStringLiteral("/QQ空间相册")));
        QVERIFY(QFileInfo(chosen).isDir());

        const QString writable = sandbox.filePath(QStringLiteral("app"));
        QCOMPARE(DefaultSaveFolder(writable, pictures),
                 QDir::toNativeSeparators(writable + QStringLiteral("/QQ空间相册")));
        QVERIFY(QFileInfo(writable + QStringLiteral("/QQ空间相册")).isDir());

        // Nowhere to create it: the program-folder path all the same.
        QCOMPARE(DefaultSaveFolder(unwritable, sandbox.filePath(QStringLiteral("program/pics"))),
                 QDir::toNativeSeparators(unwritable + QStringLiteral("/QQ空间相册")));
    }

    void typedNumberGoesToTheCredentials()
    {
        m_app->start();
        QLineEdit *text2 = m_app->window().otherQqEdit;
        QTest::keyClicks(text2, QStringLiteral("10001"));
        QCOMPARE(m_app->state().credentials.targetUin, QStringLiteral("10001"));
        QTest::keyClick(text2, Qt::Key_Backspace);
        QCOMPARE(m_app->state().credentials.targetUin, QStringLiteral("1000"));
        text2->setText(QStringLiteral(" 12a "));
        QCOMPARE(m_app->state().credentials.targetUin, QStringLiteral(" 12a "));
        text2->clear();
        QCOMPARE(m_app->state().credentials.targetUin, QString());
    }

private:
    standin::StandinThread m_standin;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;
};

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
