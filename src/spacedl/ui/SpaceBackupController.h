#pragma once

#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/ListFetch.h"
#include "spacedl/SpaceBackupJob.h"
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
struct RunJournal;
struct WindowState;

// "备份整个空间": runs the whole-space job for the listed space on the main window. The
// button is enabled only while a space is listed and no job runs; the window's title
// shows the run's progress (SpaceRunTitle) while it lasts, for the task bar.
class SpaceBackupController : public QObject
{
    Q_OBJECT
public:
    SpaceBackupController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                          AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                          const PictureTransfer::Options &transferOptions, const BusyRetryOptions &busyRetry,
                          const AlbumWalk::Pacing &pacing, const ServicePauseOptions &pauseOptions,
                          MainWindow &window, QObject *parent = nullptr);

    // The button follows the listing and the other jobs: call when either changed.
    void refresh();
    // After a whole listing of a space: when the space's journal is a whole-space run's
    // with parts not complete, asks "上次的整个空间备份还没有完成（剩余N项），是否继续？".
    // Yes runs those parts again, passing over every file recorded whole; No removes
    // the journal. True when the journal was such a run's (the part controllers then
    // offer nothing).
    bool offerToResume();

Q_SIGNALS:
    void sessionExpired();
    void runEnded();

private:
    void startJob(const RunJournal *resumed);

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
    QString m_title; // the window's own
    JobSlot<SpaceBackupJob> m_job; // last: the job goes before what it reports into
    bool m_offering = false;
};

} // namespace albivex
