#include "app/AlbivexApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The embedded sign-in browser wants its GL contexts shared from the start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Albivex"));
    albivex::AlbivexApp albivex(albivex::Endpoints::fromEnvironment());
    QObject::connect(
        &albivex, &albivex::AlbivexApp::quitRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    albivex.start();
    return app.exec();
}
