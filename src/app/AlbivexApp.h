#pragma once

#include "app/AppContext.h"
#include "qzone/Endpoints.h"
#include "session/WindowState.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <memory>

namespace albivex {

class ActivityLog;
class AlbumListModel;
class MainWindow;
class PhotoListModel;
class QtPrompts;
class StartupController;
class VersionCheckController;

// The composition root: owns the network manager, the main window, its state and
// every controller, and hands each controller the same context.
class AlbivexApp : public QObject
{
    Q_OBJECT
public:
    // With null prompts, folder dialog or opener, the production ones are used.
    explicit AlbivexApp(const Endpoints &endpoints, Prompts *prompts = nullptr,
                        FolderDialog *folders = nullptr, UrlOpener *urls = nullptr,
                        QObject *parent = nullptr);
    ~AlbivexApp() override;

    // Runs the load sequence of the main window: shows it and starts the version check.
    void start();

    VersionCheckController &versionCheck() { return *m_versionCheck; }

    MainWindow &window() { return *m_window; }
    WindowState &state() { return m_state; }
    ActivityLog &log() { return *m_log; }
    QNetworkAccessManager &network() { return m_network; }
    AppContext &context() { return *m_context; }

Q_SIGNALS:
    // The program is to end now (exit code 0).
    void quitRequested();

private:
    Endpoints m_endpoints;
    QNetworkAccessManager m_network;
    WindowState m_state;
    // Declared before the window so that the window and its views go first.
    std::unique_ptr<AlbumListModel> m_albums;
    std::unique_ptr<PhotoListModel> m_photos;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ActivityLog> m_log;
    std::unique_ptr<QtPrompts> m_qtPrompts;
    std::unique_ptr<AppContext> m_context;
    std::vector<std::unique_ptr<QObject>> m_controllers;
    StartupController *m_startup = nullptr;
    VersionCheckController *m_versionCheck = nullptr;
};

} // namespace albivex
