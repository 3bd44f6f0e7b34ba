#include "app/AlbivexApp.h"
#include "app/ProcessHeap.h"
#include "shell/RememberedChoices.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

// Options every Qt program takes (QGuiApplication's, QApplication's and X11's); the
// QApplication reads them itself, the parser only has to let them through.
const struct
{
    const char *name;
    bool takesValue;
} QtOptions[] = {{"platform", true},      {"platformpluginpath", true},
                 {"platformtheme", true}, {"plugin", true},
                 {"qmljsdebugger", true}, {"qwindowgeometry", true},
                 {"qwindowicon", true},   {"qwindowtitle", true},
                 {"session", true},       {"style", true},
                 {"stylesheet", true},    {"display", true},
                 {"geometry", true},      {"name", true},
                 {"title", true},         {"reverse", false},
                 {"widgetcount", false},  {"nograb", false},
                 {"dograb", false},       {"sync", false}};

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char **argv)
{
    albivex::ShareOneHeap();
    // QSettings and the browser's storage go under these names.
    QCoreApplication::setOrganizationName(QStringLiteral("Albivex"));
    QCoreApplication::setApplicationName(QStringLiteral("albivex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ALBIVEX_VERSION_TEXT));
    // Lets a Wayland desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ALBIVEX_APP_ID));

    // The command line is read before the QApplication exists, so that --help and
    // --version need no display and start nothing.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves the photo albums of a QQ Zone space to disk."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption(): its --help-all lists Qt's options, which only a QApplication knows.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays these options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption serviceRoot(
        QStringLiteral("service-root"),
        QStringLiteral("Sends every request to <URL> instead of the published services, "
                       "as ALBIVEX_SERVICE_ROOT does; the option wins over the variable."),
        QStringLiteral("URL"));
    parser.addOption(serviceRoot);
    const QCommandLineOption pauseSchedule(
        QStringLiteral("test-pause-schedule"),
        QStringLiteral("For testing: the pauses for a busy service, in seconds "
                       "(default 60,120,300,600,1800; the last repeats)."),
        QStringLiteral("SECONDS,..."));
    parser.addOption(pauseSchedule);
    for (const auto &qt : QtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // Qt's usage line names the program only once a QCoreApplication exists.
    const QString usage
        = QStringLiteral("Usage: albivex [options]\n") + parser.helpText().section(QLatin1Char('\n'), 1);

    QString error;
    if (!parser.parse(arguments))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    QList<int> schedule;
    if (error.isEmpty() && parser.isSet(pauseSchedule)) {
        schedule = albivex::ServicePauseOptions::parseSchedule(parser.value(pauseSchedule));
        if (schedule.isEmpty())
            error = QStringLiteral("Bad --test-pause-schedule '%1'.").arg(parser.value(pauseSchedule));
    }
    if (!error.isEmpty()) {
        print(stderr, QStringLiteral("albivex: %1\n\n").arg(error) + usage);
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout,
              QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                  + QLatin1Char('\n'));
        return 0;
    }
    const albivex::Endpoints endpoints = parser.isSet(serviceRoot)
        ? albivex::Endpoints(parser.value(serviceRoot))
        : albivex::Endpoints::fromEnvironment();

    // The embedded sign-in browser wants its GL contexts shared from the start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    albivex::AlbivexApp albivex(endpoints);
    if (!schedule.isEmpty())
        albivex.servicePauseOptions().scheduleMs = schedule;
    QObject::connect(
        &albivex, &albivex::AlbivexApp::quitRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    albivex.start(albivex::RememberedChoices::standardFile());
    return app.exec();
}
