#include "spacedl/ui/SpaceBackupController.h"

#include "catalogue/AlbumListModel.h"
#include "catalogue/ListTexts.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "spacedl/SpaceBackupJob.h"
#include "storage/RunJournal.h"
#include "storage/SaveLayout.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>

namespace albivex {

SpaceBackupController::SpaceBackupController(
    QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state, AlbumListModel &albums,
    ActivityLog &log, Prompts &prompts, const PictureTransfer::Options &transferOptions,
    const BusyRetryOptions &busyRetry, const AlbumWalk::Pacing &pacing,
    const ServicePauseOptions &pauseOptions, MainWindow &window, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_log(log)
    , m_prompts(prompts)
    , m_transferOptions(transferOptions)
    , m_busyRetry(busyRetry)
    , m_pacing(pacing)
    , m_pauseOptions(pauseOptions)
    , m_window(window)
    , m_view(window, log, state)
    , m_title(window.windowTitle())
    , m_job(this, window.stopButton, log)
{
    connect(window.backupSpaceButton, &QPushButton::clicked, this, [this] { startJob(nullptr); });
}

void SpaceBackupController::refresh()
{
    m_window.backupSpaceButton->setEnabled(m_job.isEmpty() && !m_state.listedOwnerUin.isEmpty()
                                           && m_state.albumJobIdle && !m_state.selectedDownloadRunning);
}

void SpaceBackupController::startJob(const RunJournal *resumed)
{
    if (!m_job.isEmpty() || !m_state.albumJobIdle || m_state.selectedDownloadRunning)
        return;
    auto *job = new SpaceBackupJob(m_network, m_endpoints, m_state, m_albums, m_view, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setPacing(m_pacing);
    job->setServicePause(m_pauseOptions);
    if (resumed)
        job->setResuming(*resumed);
    connect(job, &SpaceBackupJob::progressChanged, this,
            [this, job] { m_window.setWindowTitle(SpaceRunTitle(job->progress(), m_title)); });
    connect(job, &SpaceBackupJob::sessionExpired, this, &SpaceBackupController::sessionExpired);
    const bool started = m_job.start(job, [this] {
        m_window.setWindowTitle(m_title);
        refresh();
        Q_EMIT runEnded();
    });
    if (started)
        refresh();
    else
        m_window.setWindowTitle(m_title);
}

bool SpaceBackupController::offerToResume()
{
    const QString spaceFolder = SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin);
    const std::optional<RunJournal> journal = LoadRunJournal(spaceFolder);
    if (!journal || journal->ownerUin != m_state.listedOwnerUin || !journal->wholeSpace)
        return false;
    if (!m_job.isEmpty() || m_offering)
        return true;
    // The parts left that can be taken up: the albums still listed, the posts, the board.
    int left = 0;
    for (const RunJournal::Album &part : journal->remaining()) {
        if (part.kind != RunJournal::Kind::Album) {
            ++left;
            continue;
        }
        for (int row = 0; row < m_albums.size(); ++row) {
            if (m_albums.entry(row).albumId == part.id && m_albums.entry(row).allowAccess)
                ++left;
        }
    }
    if (left == 0) {
        RemoveRunJournal(spaceFolder);
        return true;
    }
    m_offering = true;
    m_prompts.askYesNo(AppBoxTitle(),
                       QStringLiteral("上次的整个空间备份还没有完成（剩余%1项），是否继续？").arg(left),
                       Prompts::Icon::Information, [this, journal = *journal, spaceFolder](bool yes) {
                           m_offering = false;
                           // The answer counts only for the space it was asked about.
                           if (SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin) != spaceFolder
                               || !m_job.isEmpty())
                               return;
                           if (!yes) {
                               RemoveRunJournal(spaceFolder);
                               return;
                           }
                           if (journal.quality < m_window.qualityCombo->count())
                               m_window.qualityCombo->setCurrentIndex(journal.quality);
                           if (QAbstractButton *naming = m_window.namingModeGroup->button(journal.naming))
                               naming->setChecked(true);
                           startJob(&journal);
                       });
    return true;
}

} // namespace albivex
