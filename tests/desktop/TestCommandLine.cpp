// The program's command line, with the program run as a process of its own.
#include "standin/StandinThread.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int ProcessTimeoutMs = 60000;
// A failing QTRY waits twice as long again to report when the condition came true.
constexpr int RequestTimeoutMs = 30000;

// Runs the program to its end where no QApplication can be made: the platform plugin
// named does not exist, so any window it tried to open would end it with an abort.
QProcess *runWithoutDisplay(QObject *parent, const QStringList &arguments)
{
    auto *process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nonexistent"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(ALBIVEX_BINARY), arguments);
    process->waitForFinished(ProcessTimeoutMs);
    return process;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endsWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        // Text each stream contains; an empty one means the stream stays empty.
        QTest::addColumn<QByteArrayList>("out");
        QTest::addColumn<QByteArrayList>("err");

        const QByteArray usage = "Usage: albivex [options]";
        const QByteArray version = "albivex " ALBIVEX_VERSION_TEXT "\n";
        QTest::newRow("help") << QStringList {QStringLiteral("--help")} << 0
                              << QByteArrayList {usage, "--service-root <URL>", "--version"}
                              << QByteArrayList {};
        QTest::newRow("-h") << QStringList {QStringLiteral("-h")} << 0 << QByteArrayList {usage}
                            << QByteArrayList {};
        QTest::newRow("version") << QStringList {QStringLiteral("--version")} << 0 << QByteArrayList {version}
                                 << QByteArrayList {};
        QTest::newRow("Qt's own options pass")
            << QStringList {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                            QStringLiteral("-reverse"), QStringLiteral("--version")}
            << 0 << QByteArrayList {version} << QByteArrayList {};
        QTest::newRow("unknown option")
            << QStringList {QStringLiteral("--frobnicate")} << 2 << QByteArrayList {}
            << QByteArrayList {"Unknown option 'frobnicate'", usage};
        QTest::newRow("option without its value")
            << QStringList {QStringLiteral("--service-root")} << 2 << QByteArrayList {}
            << QByteArrayList {"--service-root", usage};
        QTest::newRow("a pause schedule that is no list of seconds")
            << QStringList {QStringLiteral("--test-pause-schedule"), QStringLiteral("1,x")} << 2
            << QByteArrayList {} << QByteArrayList {"Bad --test-pause-schedule '1,x'", usage};
        QTest::newRow("stray argument") << QStringList {QStringLiteral("pictures")} << 2 << QByteArrayList {}
                                        << QByteArrayList {"Unexpected argument 'pictures'", usage};
    }

    void endsWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, out);
        QFETCH(QByteArrayList, err);

        QProcess *process = runWithoutDisplay(this, arguments);
        QCOMPARE(process->state(), QProcess::NotRunning);
        const QByteArray stdOut = process->readAllStandardOutput();
        const QByteArray stdErr = process->readAllStandardError();
        QVERIFY2(process->exitStatus() == QProcess::NormalExit, stdErr.constData());
        QCOMPARE(process->exitCode(), exitCode);
        const std::pair<const QByteArray &, const QByteArrayList &> streams[]
            = {{stdOut, out}, {stdErr, err}};
        for (const auto &[text, wanted] : streams) {
            if (wanted.isEmpty())
                QVERIFY2(text.isEmpty(), text.constData());
            for (const QByteArray &piece : wanted)
                QVERIFY2(text.contains(piece), text.constData());
        }
    }

    // The flag sends the requests to the stand-in although the variable names a dead
    // address: the version check at start reaches the stand-in.
    void serviceRootOptionWinsOverTheVariable()
    {
        albivex::standin::StandinThread standin;
        QVERIFY(standin.start());
        QTemporaryDir home;
        QVERIFY(home.isValid());

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("ALBIVEX_SERVICE_ROOT"), QStringLiteral("http://127.0.0.1:1"));
        environment.insert(QStringLiteral("HOME"), home.path());
        for (const char *folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.remove(QString::fromLatin1(folder));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(ALBIVEX_BINARY), {QStringLiteral("--service-root"), standin.root()});
        QVERIFY(process.waitForStarted(ProcessTimeoutMs));

        const QString versionFile = QStringLiteral("/version/main.txt");
        QTRY_VERIFY_WITH_TIMEOUT(standin.knobs().log().count(versionFile) > 0
                                     || process.state() == QProcess::NotRunning,
                                 RequestTimeoutMs);
        const bool reached = standin.knobs().log().count(versionFile) > 0;
        process.kill();
        process.waitForFinished(ProcessTimeoutMs);
        QVERIFY2(reached, "the program ended without asking the stand-in for the version file");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
