#include "albumdl/ui/AlbumDownloadController.h"

#include "albumdl/AlbumDownloadJob.h"
#include "catalogue/AlbumListModel.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/RunJournal.h"
#include "storage/SaveLayout.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace albivex {

AlbumDownloadController::AlbumDownloadController(
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
    , m_job(this, window.stopButton, log)
{
    connect(window.downloadAlbumAction, &QAction::triggered, this, &AlbumDownloadController::startJob);
}

void AlbumDownloadController::startJob()
{
    // The menu is refused while a job runs; a trigger from elsewhere is ignored too.
    if (!m_job.isEmpty())
        return;
    auto *job = new AlbumDownloadJob(m_network, m_endpoints, m_state, m_albums, m_view, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    connect(job, &AlbumDownloadJob::sessionExpired, this, &AlbumDownloadController::sessionExpired);
    job->setPacing(m_pacing);
    job->setServicePause(m_pauseOptions);
    job->setResuming(m_view.resuming());
    // A new run may start as soon as this one has ended, before the object is gone.
    const bool started = m_job.start(job, [this] {
        m_view.setResuming(false);
        Q_EMIT runEnded();
    });
    if (!started)
        m_view.setResuming(false);
}

void AlbumDownloadController::offerToResume()
{
    if (!m_job.isEmpty() || m_offering || m_albums.size() == 0)
        return;
    const QString spaceFolder = SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin);
    const std::optional<RunJournal> journal = LoadRunJournal(spaceFolder);
    if (!journal || journal->ownerUin != m_state.listedOwnerUin)
        return;
    QList<int> rows;
    for (const RunJournal::Album &album : journal->remaining(RunJournal::Kind::Album)) {
        for (int row = 0; row < m_albums.size(); ++row) {
            if (m_albums.entry(row).albumId == album.id && m_albums.entry(row).allowAccess)
                rows << row;
        }
    }
    // The albums left are gone from the space: nothing to take up here. The posts'
    // part is offered by their own controller.
    if (rows.isEmpty()) {
        if (journal->remaining(RunJournal::Kind::Moods).isEmpty())
            RemoveRunJournal(spaceFolder);
        return;
    }
    m_offering = true;
    m_prompts.askYesNo(AppBoxTitle(),
                       QStringLiteral("上次的下载还没有完成（剩余%1个相册），是否继续？").arg(rows.size()),
                       Prompts::Icon::Information, [this, journal = *journal, rows, spaceFolder](bool yes) {
                           m_offering = false;
                           // The answer counts only for the space it was asked about.
                           if (SpaceFolderPath(m_window.saveFolder(), m_state.listedOwnerUin) != spaceFolder
                               || !m_job.isEmpty())
                               return;
                           if (yes)
                               resume(journal, rows);
                           else
                               ForgetRunParts(spaceFolder, journal.ownerUin, RunJournal::Kind::Album);
                       });
}

void AlbumDownloadController::resume(const RunJournal &journal, const QList<int> &rows)
{
    for (int row = 0; row < m_albums.size(); ++row)
        m_albums.setChecked(row, rows.contains(row));
    m_window.albumView->setCurrentIndex(m_albums.index(rows.first(), 0));
    if (journal.quality < m_window.qualityCombo->count())
        m_window.qualityCombo->setCurrentIndex(journal.quality);
    if (QAbstractButton *naming = m_window.namingModeGroup->button(journal.naming))
        naming->setChecked(true);
    m_view.setResuming(true);
    startJob();
}

} // namespace albivex
