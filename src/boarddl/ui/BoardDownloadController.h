#pragma once

#include "albumdl/ServicePause.h"
#include "boarddl/BoardDownloadJob.h"
#include "qzone/ListFetch.h"
#include "storage/PictureTransfer.h"
#include "window/JobSlot.h"
#include "window/WindowJobView.h"

#include <QObject>

class QNetworkAccessManager;

namespace albivex {

class ActivityLog;
class AlbumListModel;
class Endpoints;
class MainWindow;
class Prompts;
struct WindowState;

// "下载留言": runs the 留言板 download job for the listed space on the main window, and
// keeps the button enabled only while a space is listed and no job runs.
class BoardDownloadController : public QObject
{
    Q_OBJECT
public:
    BoardDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                            const AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                            const PictureTransfer::Options &transferOptions,
                            const BusyRetryOptions &busyRetry, const ServicePauseOptions &pauseOptions,
                            MainWindow &window, QObject *parent = nullptr);

    // The button follows the listing and the other jobs: call when either changed.
    void refresh();

Q_SIGNALS:
    void sessionExpired();
    void runEnded();

private:
    void startJob();

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    const AlbumListModel &m_albums;
    ActivityLog &m_log;
    Prompts &m_prompts;
    const PictureTransfer::Options &m_transferOptions;
    const BusyRetryOptions &m_busyRetry;
    const ServicePauseOptions &m_pauseOptions;
    MainWindow &m_window;
    WindowJobView m_view;
    JobSlot<BoardDownloadJob> m_job;
};

} // namespace albivex
