#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "shell/RememberedChoices.h"
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
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
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
        QCOMPARE(w.findChild<QCheckBox *>(QStringLiteral("writeMetadata"))->text(),
                 QStringLiteral("写入照片信息"));
        QVERIFY(!w.writeMetadataCheck->isChecked());
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

    void defaultFolderFallsBackToPictures_data()
    {
        // Paths below the sandbox when relative; "program" there is a plain file, so
        // nothing can be created below it, even by root.
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("pictures");
        QTest::addColumn<QString>("expected"); // the save folder's parent
        QTest::addColumn<bool>("created");
        const auto row = [](const char *name, const char *program, const char *pictures, const char *expected,
                            bool created) {
            QTest::newRow(name) << QString::fromUtf8(program) << QString::fromUtf8(pictures)
                                << QString::fromUtf8(expected) << created;
        };
        row("writable program folder", "app", "home/Pictures", "app", true);
        row("unwritable program folder", "program/bin", "home/Pictures", "home/Pictures", true);
        row("nowhere to create it", "program/bin", "program/pics", "program/bin", false);
        row("usr only at the root counts", "usr/bin", "home/Pictures", "usr/bin", true);
        // Installed programs never get it beside them, even when root could write there.
        for (const char *system :
             {"/usr/bin", "/usr/local/bin", "/bin", "/sbin", "/opt/albivex/bin", "/snap/albivex/12/usr/bin"})
            row(system, system, "home/Pictures", "home/Pictures", true);
    }
    void defaultFolderFallsBackToPictures()
    {
        QFETCH(QString, program);
        QFETCH(QString, pictures);
        QFETCH(QString, expected);
        QFETCH(bool, created);
        QTemporaryDir sandbox;
        QVERIFY(sandbox.isValid());
        QFile blocker(sandbox.filePath(QStringLiteral("program")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QDir root(sandbox.path());
        program = root.filePath(program);
        const QString beside = QDir(program).filePath(QStringLiteral("QQ空间相册"));
        expected = QDir(root.filePath(expected)).filePath(QStringLiteral("QQ空间相册"));

        QCOMPARE(DefaultSaveFolder(program, root.filePath(pictures)), QDir::toNativeSeparators(expected));
        QCOMPARE(QFileInfo(expected).isDir(), created);
        if (expected != beside)
            QVERIFY(!QFileInfo::exists(beside));
    }

    // Every choice survives a run that ends with the title bar's "x": changes reach the
    // file by themselves, and the "x" writes the last ones before the program ends.
    void choicesComeBackAtTheNextStart()
    {
        QTemporaryDir config;
        QTemporaryDir save;
        const QString file = config.filePath(QStringLiteral("albivex.ini"));
        const QString folder = QDir::toNativeSeparators(save.path());
        m_app->start(file);
        MainWindow *w = &m_app->window();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->saveFolderEdit->setText(folder);
        w->qualityCombo->setCurrentIndex(0);
        QTRY_COMPARE(RememberedChoices::read(file).saveFolder, folder);

        const bool onlyNewWanted = !w->onlyNewCheck->isChecked();
        w->onlyNewCheck->setChecked(onlyNewWanted);
        w->writeMetadataCheck->setChecked(true);
        w->randomNamingButton->click();
        w->move(40, 30);
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QTest::mouseClick(w->closeLabel, Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
        const RememberedChoices written = RememberedChoices::read(file);
        QCOMPARE(written.namingMode.value_or(-1), 2);
        QCOMPARE(written.windowPosition.value_or(QPoint()), QPoint(40, 30));

        m_app.reset();
        init();
        m_app->start(file);
        w = &m_app->window();
        QCOMPARE(w->saveFolderEdit->text(), folder);
        QCOMPARE(w->qualityCombo->currentIndex(), 0);
        QVERIFY(w->randomNamingButton->isChecked());
        QCOMPARE(w->pos(), QPoint(40, 30));
        QCOMPARE(w->onlyNewCheck->isChecked(), onlyNewWanted);
        QVERIFY(w->writeMetadataCheck->isChecked());
        QCOMPARE(m_app->log().lines().size(), 4);

        // A program that ends otherwise (its last window closed) writes them as it goes.
        w->qualityCombo->setCurrentIndex(1);
        m_app.reset();
        QCOMPARE(RememberedChoices::read(file).qualityIndex.value_or(-1), 1);
    }

    void unusableChoicesLeaveTheOpeningValues()
    {
        QTemporaryDir config;
        const QString file = config.filePath(QStringLiteral("albivex.ini"));
        RememberedChoices kept;
        {
            QTemporaryDir gone;
            kept.saveFolder = gone.path();
        }
        kept.qualityIndex = 7;
        kept.namingMode = 9;
        kept.windowPosition = QPoint(5000, 5000);
        QVERIFY(kept.write(file));

        m_app->start(file);
        MainWindow &w = m_app->window();
        QCOMPARE(w.saveFolderEdit->text(),
                 DefaultSaveFolder(QCoreApplication::applicationDirPath(),
                                   QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)));
        const QStringList lines = m_app->log().lines();
        QCOMPARE(lines.size(), 5);
        QVERIFY2(isLogLine(lines[4], QStringLiteral("上次的保存路径不可用，已改用默认路径..")),
                 qPrintable(lines[4]));
        QCOMPARE(w.qualityCombo->currentText(), QStringLiteral("高清"));
        QVERIFY(w.sequenceNamingButton->isChecked());
        QCOMPARE(w.frameGeometry().center(), w.screen()->availableGeometry().center());
    }

    void positionReachableOnScreens_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("reachable");
        const QSize size(981, 598);
        QTest::newRow("on the first screen") << QRect(QPoint(40, 30), size) << true;
        QTest::newRow("mostly off to the left") << QRect(QPoint(-850, 0), size) << true;
        QTest::newRow("on the second screen") << QRect(QPoint(2000, 100), size) << true;
        QTest::newRow("a sliver left") << QRect(QPoint(-975, 0), size) << false;
        QTest::newRow("title band above the screen") << QRect(QPoint(0, -25), size) << false;
        QTest::newRow("where a third screen was") << QRect(QPoint(5000, 5000), size) << false;
    }
    void positionReachableOnScreens()
    {
        QFETCH(QRect, frame);
        QFETCH(bool, reachable);
        const QList<QRect> screens {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(IsReachableOnScreens(frame, screens), reachable);
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
