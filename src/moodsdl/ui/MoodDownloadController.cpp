#include "moodsdl/ui/MoodDownloadController.h"

#include "catalogue/ListTexts.h"
#include "moodsdl/MoodDownloadJob.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/RunJournal.h"
#include "storage/SaveLayout.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QPushButton>

namespace albivex {

MoodDownloadController::MoodDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints,
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
    connect(window.downloadMoodsButton, &QPushButton::clicked, this, [this] { startJob(false); });
}

void MoodDownloadController::refresh()
{
    m_window.downloadMoodsButton->setEnabled(m_job.isEmpty() && !m_state.listedOwnerUin.isEmpty()
                                             && m_state.albumJobIdle && !m_state.selectedDownloadRunning);
}

void MoodDownloadController::startJob(bool resuming)
{
    if (!m_job.isEmpty() || !m_state.albumJobIdle || m_state.selectedDownloadRunning)
        return;
    auto *job = new MoodDownloadJob(m_network, m_endpoints, m_state, m_albums, m_view, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setServicePause(m_pauseOptions);
    job->setResuming(resuming);
    connect(job, &MoodDownloadJob::sessionExpired, this, &MoodDownloadController::sessionExpired);
    if (m_job.start(job, [this] {
            refresh();
            Q_EMIT runEnded();
        }))
        refresh();
}

void MoodDownloadController::offerToResume()
{
    if (!m_job.isEmpty() || m_offering)
        return;
    const QString spaceFolder = SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin);
    const std::optional<RunJournal> journal = LoadRunJournal(spaceFolder);
    if (!journal || journal->ownerUin != m_state.listedOwnerUin
        || journal->remaining(RunJournal::Kind::Moods).isEmpty())
        return;
    m_offering = true;
    m_prompts.askYesNo(AppBoxTitle(), QStringLiteral("上次的说说下载还没有完成，是否继续？"),
                       Prompts::Icon::Information, [this, spaceFolder, owner = journal->ownerUin](bool yes) {
                           m_offering = false;
                           // The answer counts only for the space it was asked about.
                           if (SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin) != spaceFolder)
                               return;
                           if (yes)
                               startJob(true);
                           else
                               ForgetRunParts(spaceFolder, owner, RunJournal::Kind::Moods);
                       });
}

} // namespace albivex
