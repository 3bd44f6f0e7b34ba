#pragma once

#include "albumdl/AlbumDownloadJob.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/ListFetch.h"
#include "storage/PictureTransfer.h"
#include "window/JobSlot.h"
#include "window/WindowJobView.h"

#include <QObject>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class AlbumListModel;
class ActivityLog;
struct RunJournal;
class Prompts;
class MainWindow;

// "下载相册" of the album menu: runs the album download job on the main window, which
// the job sees through a WindowJobView.
class AlbumDownloadController : public QObject
{
    Q_OBJECT
public:
    AlbumDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                            AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                            const PictureTransfer::Options &transferOptions,
                            const BusyRetryOptions &busyRetry, const AlbumWalk::Pacing &pacing,
                            const ServicePauseOptions &pauseOptions, MainWindow &window,
                            QObject *parent = nullptr);

    // After a whole listing of a space: when the space's folder holds the journal of a
    // run that did not finish, asks "上次的下载还没有完成（剩余N个相册），是否继续？".
    // Yes ticks the albums that remain (those listed), sets the run's quality and
    // naming and runs them, passing over every picture the albums' records hold whole
    // whatever "只下载新照片" says; No deletes the journal.
    void offerToResume();

Q_SIGNALS:
    // A listing of the job said the sign-in is no longer taken; the job has stopped.
    void sessionExpired();
    // A run has ended, whole or stopped; what it saved is on disk.
    void runEnded();

private:
    void startJob();
    void resume(const RunJournal &journal, const QList<int> &rows);

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
    WindowJobView m_view;
    JobSlot<AlbumDownloadJob> m_job;
    bool m_offering = false; // the question is open
};

} // namespace albivex
