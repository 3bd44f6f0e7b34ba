// albivex-fault-driver: the tool as a process of its own, driven through one scripted
// session, for tests that must kill it or read everything it writes. It builds the
// application exactly as the program does (every service under ALBIVEX_SERVICE_ROOT),
// with scripted message boxes, and then, as a user would:
//   signs in (over HTTP, or through the sign-in window's browser with --browser),
//   lists the albums, saves the album with the chosen command into --save,
//   signs out (--sign-out), and ends.
// Like the program, it keeps its choices in the settings file of the user's configuration
// folder ($XDG_CONFIG_HOME), which the tests point at a folder of their own.
// Its own output is one line per step on standard output ("driver: <step>"), never a
// value it handles; the tool's activity log goes to --log when given.
//
//   albivex-fault-driver --album ID --save DIR [--command album|selected] [--uin N]
//                        [--other N] [--answer TEXT] [--browser] [--sign-out] [--idle-ms N]
//                        [--log FILE] [--also ID,ID...] [--resume]
//
// --other lists the albums of that number instead of the own space; --answer is typed
// into the box a protected album asks its answer with. --also ticks more albums for
// "下载相册", which then saves every ticked one. --resume answers 是 when the listing
// offers an unfinished run, and waits for that run instead of starting one.
//
// Exit code 0 when every step happened, 3 when one did not (named on standard error),
// 4 when the tool ended itself (its version check failed), 2 for a bad command line.

#include "FaultWindow.h"
#include "catalogue/AlbumListModel.h"
#include "qzone/Endpoints.h"
#include "shell/RememberedChoices.h"
#include "standin/StandinData.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>

namespace {

void step(const char *name)
{
    std::printf("driver: %s\n", name);
    std::fflush(stdout);
}

int failed(const char *what)
{
    std::fprintf(stderr, "driver: %s failed\n", what);
    return 3;
}

} // namespace

int main(int argc, char **argv)
{
    // The program's names, so that its settings and browser storage land where the program's do.
    QCoreApplication::setOrganizationName(QStringLiteral("Albivex"));
    QCoreApplication::setApplicationName(QStringLiteral("albivex"));
    QApplication application(argc, argv);

    QCommandLineParser parser;
    const QCommandLineOption album(QStringLiteral("album"), QStringLiteral("album id"), QStringLiteral("id"));
    const QCommandLineOption save(QStringLiteral("save"), QStringLiteral("save folder"),
                                  QStringLiteral("dir"));
    const QCommandLineOption command(QStringLiteral("command"), QStringLiteral("album or selected"),
                                     QStringLiteral("name"), QStringLiteral("album"));
    const QCommandLineOption uin(QStringLiteral("uin"), QStringLiteral("QQ number"), QStringLiteral("n"),
                                 QString::fromLatin1(albivex::standin::MainUin));
    const QCommandLineOption other(QStringLiteral("other"), QStringLiteral("QQ number whose albums to list"),
                                   QStringLiteral("n"));
    const QCommandLineOption answer(QStringLiteral("answer"), QStringLiteral("a protected album's answer"),
                                    QStringLiteral("text"));
    const QCommandLineOption browser(QStringLiteral("browser"),
                                     QStringLiteral("sign in through the browser"));
    const QCommandLineOption signOut(QStringLiteral("sign-out"), QStringLiteral("sign out at the end"));
    const QCommandLineOption idle(QStringLiteral("idle-ms"), QStringLiteral("transfer idle limit"),
                                  QStringLiteral("ms"));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("activity log file"),
                                 QStringLiteral("file"));
    const QCommandLineOption also(QStringLiteral("also"), QStringLiteral("more albums to tick"),
                                  QStringLiteral("ids"));
    const QCommandLineOption resume(QStringLiteral("resume"), QStringLiteral("take up the unfinished run"));
    parser.addOptions({album, save, command, uin, other, answer, browser, signOut, idle, log, also, resume});
    parser.process(application);
    const QString mode = parser.value(command);
    if (!parser.isSet(album) || !parser.isSet(save)
        || (mode != QLatin1String("album") && mode != QLatin1String("selected"))) {
        std::fprintf(stderr, "driver: --album and --save are needed; --command is album or selected\n");
        return 2;
    }
    const DownloadCommand download
        = mode == QLatin1String("album") ? DownloadCommand::Album : DownloadCommand::SelectedPictures;

    FaultWindow tool(albivex::Endpoints::fromEnvironment().serviceRoot());
    tool.settingsFile = albivex::RememberedChoices::standardFile();
    // The tool ends itself when its version check fails; so does the driver then.
    QObject::connect(&tool.app, &albivex::AlbivexApp::quitRequested, [] {
        std::fprintf(stderr, "driver: the tool ended itself\n");
        std::fflush(stdout);
        std::_Exit(4);
    });
    tool.otherQq = parser.value(other);
    if (parser.isSet(answer))
        tool.prompts.answerNextText(parser.value(answer));
    if (parser.isSet(idle))
        tool.transferOptions().idleMs = parser.value(idle).toInt();
    tool.saveFolder = parser.value(save);
    if (parser.isSet(resume))
        tool.prompts.answerNextQuestion(true);

    int result = 0;
    if (!tool.signInAndList(parser.value(uin).toLatin1().constData(), parser.isSet(browser))) {
        result = failed("sign-in and listing");
    } else {
        step("listed");
        for (const QString &id : parser.value(also).split(QLatin1Char(','), Qt::SkipEmptyParts))
            tool.app.albums().setChecked(tool.albumRow(id), true);
        if (!parser.value(also).isEmpty())
            tool.app.albums().setChecked(tool.albumRow(parser.value(album)), true);
        const bool started = parser.isSet(resume)
            ? RunEventsUntil([&] { return !tool.app.state().albumJobIdle; }, 10000)
            : tool.startDownload(download, parser.value(album));
        if (!started) {
            result = failed("download start");
        } else {
            step("downloading");
            if (!tool.waitForDownloadEnd(download, 120000))
                result = failed("download");
            else
                step("downloaded");
        }
    }
    if (result == 0 && parser.isSet(signOut)) {
        if (tool.signOut())
            step("signed out");
        else
            result = failed("sign-out");
    }
    if (parser.isSet(log)) {
        QFile file(parser.value(log));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(tool.lines().join(QLatin1Char('\n')).toUtf8());
    }
    return result;
}
