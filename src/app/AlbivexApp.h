#pragma once

#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/Endpoints.h"
#include "qzone/ListFetch.h"
#include "session/WindowState.h"
#include "storage/PictureTransfer.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <memory>
#include <vector>

namespace albivex {

class ActivityLog;
class AlbumListModel;
class FolderDialog;
class GalleryJob;
class MainWindow;
class PhotoListModel;
class PicturePreview;
class Prompts;
class QtPrompts;
class RememberedChoicesController;
class StartupController;
class UrlOpener;
class VersionCheckController;

// The composition root: owns the network manager, the main window, its state, the
// models, the prompts and every controller, and hands each controller what it uses.
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
    // With a settings file, the choices kept there from the last run replace the opening
    // values, and the file keeps them from then on (until the application goes); without
    // one, nothing is read or kept.
    void start(const QString &settingsFile = QString());

    VersionCheckController &versionCheck() { return *m_versionCheck; }

    MainWindow &window() { return *m_window; }
    WindowState &state() { return m_state; }
    ActivityLog &log() { return *m_log; }
    QNetworkAccessManager &network() { return m_network; }
    const Endpoints &endpoints() const { return m_endpoints; }
    Prompts &prompts() { return m_prompts; }
    FolderDialog &folders() { return m_folders; }
    UrlOpener &urls() { return m_urls; }
    // The listed albums, the model of the album view: every feature reads the
    // AlbumEntry records from here.
    AlbumListModel &albums() { return *m_albums; }
    // The pictures of the album being viewed, the model of the photo view.
    PhotoListModel &photos() { return *m_photos; }
    // How every picture transfer of the tool is made (idle limit, retries); read at
    // the start of each transfer, so tests may shorten the waits at any time.
    PictureTransfer::Options &transferOptions() { return m_transferOptions; }
    // The pauses before a busy list service is asked again; read when a list request
    // starts, so tests may shorten them.
    BusyRetryOptions &busyRetryOptions() { return m_busyRetry; }
    // How many pictures an album download has in flight: adaptive, or fixed for
    // measurements; read at the start of each job.
    AlbumWalk::Pacing &albumPacing() { return m_albumPacing; }
    // How long an album run pauses for a service that limits it; read as each run starts.
    ServicePauseOptions &servicePauseOptions() { return m_pauseOptions; }
    // Builds the offline album after each download run.
    GalleryJob &galleryJob() { return *m_galleryJob; }

Q_SIGNALS:
    // The program is to end now (exit code 0).
    void quitRequested();
    // A click on an album or picture row asks for its picture in the preview box
    // (latest request wins; a picture that cannot be loaded leaves the box empty).
    void previewRequested(const QString &address);

private:
    Endpoints m_endpoints;
    QNetworkAccessManager m_network;
    WindowState m_state;
    PictureTransfer::Options m_transferOptions;
    BusyRetryOptions m_busyRetry;
    AlbumWalk::Pacing m_albumPacing = AlbumWalk::Pacing::Adaptive;
    ServicePauseOptions m_pauseOptions;
    // Declared before the window so that the window and its views go first.
    std::unique_ptr<AlbumListModel> m_albums;
    std::unique_ptr<PhotoListModel> m_photos;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<GalleryJob> m_galleryJob;
    std::unique_ptr<ActivityLog> m_log;
    std::unique_ptr<QtPrompts> m_qtPrompts;
    Prompts &m_prompts;
    FolderDialog &m_folders;
    UrlOpener &m_urls;
    std::vector<std::unique_ptr<QObject>> m_controllers;
    StartupController *m_startup = nullptr;
    RememberedChoicesController *m_remembered = nullptr;
    VersionCheckController *m_versionCheck = nullptr;
};

} // namespace albivex
