#pragma once

#include "albumdl/AlbumJobView.h"
#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/ListFetch.h"
#include "storage/PictureTransfer.h"

#include <QObject>
#include <QPointer>

class QNetworkAccessManager;

namespace albivex {

class AlbumDownloadJob;
class Endpoints;
struct WindowState;
class AlbumListModel;
class ActivityLog;
class Prompts;
class MainWindow;

// "下载相册" of the album menu: runs the album download job on the main window. The
// window side of the job (status text, log, progress bar, the job controls and the
// choices read for every picture) is implemented here over MainWindow.
class AlbumDownloadController : public QObject, private AlbumJobView
{
    Q_OBJECT
public:
    AlbumDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                            AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                            const PictureTransfer::Options &transferOptions,
                            const BusyRetryOptions &busyRetry, const AlbumWalk::Pacing &pacing,
                            const ServicePauseOptions &pauseOptions, MainWindow &window,
                            QObject *parent = nullptr);
    ~AlbumDownloadController() override;

Q_SIGNALS:
    // A listing of the job said the sign-in is no longer taken; the job has stopped.
    void sessionExpired();
    // A run has ended, whole or stopped; what it saved is on disk.
    void runEnded();

private:
    void startJob();

    int selectedAlbumRow() const override;
    QString saveFolder() const override;
    NamingMode namingMode() const override;
    PictureQuality quality() const override;
    bool onlyNew() const override;
    bool writeMetadata() const override;
    void setStatusText(const QString &text) override;
    void addLogLines(const QStringList &messages) override;
    void setJobControlsEnabled(bool enabled) override;
    void setAlbumListEnabled(bool enabled) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    ActivityLog &m_log;
    Prompts &m_prompts;
    const PictureTransfer::Options &m_transferOptions;
    const BusyRetryOptions &m_busyRetry;
    const AlbumWalk::Pacing &m_pacing;
    const ServicePauseOptions &m_pauseOptions;
    MainWindow &m_window;
    QPointer<AlbumDownloadJob> m_job;
};

} // namespace albivex
