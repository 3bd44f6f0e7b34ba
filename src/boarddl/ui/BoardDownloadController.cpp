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
    , m_job(this, window.stopButton, log)
{
    connect(window.downloadBoardButton, &QPushButton::clicked, this, &BoardDownloadController::startJob);
}

void BoardDownloadController::refresh()
{
    m_window.downloadBoardButton->setEnabled(m_job.isEmpty() && !m_state.listedOwnerUin.isEmpty()
                                             && m_state.albumJobIdle && !m_state.selectedDownloadRunning);
}

void BoardDownloadController::startJob()
{
    if (!m_job.isEmpty() || !m_state.albumJobIdle || m_state.selectedDownloadRunning)
        return;
    auto *job = new BoardDownloadJob(m_network, m_endpoints, m_state, m_albums, m_view, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setServicePause(m_pauseOptions);
    connect(job, &BoardDownloadJob::sessionExpired, this, &BoardDownloadController::sessionExpired);
    if (m_job.start(job, [this] {
            refresh();
            Q_EMIT runEnded();
        }))
        refresh();
}

} // namespace albivex
