#include "boarddl/ui/BoardDownloadController.h"

#include "boarddl/BoardDownloadJob.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QPushButton>

namespace albivex {

BoardDownloadController::BoardDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                                 WindowState &state, const AlbumListModel &albums,
                                                 ActivityLog &log, Prompts &prompts,
                                                 const PictureTransfer::Options &transferOptions,
                                                 const BusyRetryOptions &busyRetry,
                                                 const ServicePauseOptions &pauseOptions, MainWindow &window,
                                                 QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_log(log)
    , m_prompts(prompts)
    , m_transferOptions(transferOptions)
    , m_busyRetry(busyRetry)
    , m_pauseOptions(pauseOptions)
    , m_window(window)
    , m_view(window, log, state)
{
    connect(window.downloadBoardButton, &QPushButton::clicked, this, &BoardDownloadController::startJob);
    // Queued: the stop button's own handler clears the job's flag first.
    connect(
        window.stopButton, &QPushButton::clicked, this,
        [this] {
            if (m_job)
                m_job->noticeStop();
        },
        Qt::QueuedConnection);
}

BoardDownloadController::~BoardDownloadController()
{
    delete m_job.data();
}

void BoardDownloadController::refresh()
{
    m_window.downloadBoardButton->setEnabled(!m_job && !m_state.listedOwnerUin.isEmpty()
                                             && m_state.albumJobIdle && !m_state.selectedDownloadRunning);
}

void BoardDownloadController::startJob()
{
    if (m_job || !m_state.albumJobIdle || m_state.selectedDownloadRunning)
        return;
    auto *job = new BoardDownloadJob(m_network, m_endpoints, m_state, m_albums, m_view, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setServicePause(m_pauseOptions);
    connect(job, &BoardDownloadJob::sessionExpired, this, &BoardDownloadController::sessionExpired);
    connect(job, &BoardDownloadJob::ended, this, [this, job] {
        m_log.showHeld();
        if (m_job == job)
            m_job = nullptr;
        job->deleteLater();
        refresh();
        Q_EMIT runEnded();
    });
    if (!job->start()) {
        delete job;
        return;
    }
    m_job = job;
    refresh();
}

} // namespace albivex
