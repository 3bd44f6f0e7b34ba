#include "app/AlbivexApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Albivex"));
    albivex::AlbivexApp albivex(albivex::Endpoints::fromEnvironment());
    QObject::connect(
        &albivex, &albivex::AlbivexApp::quitRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    albivex.start();
    return app.exec();
}
