#include "albumdl/ui/AlbumDownloadController.h"

#include "albumdl/AlbumDownloadJob.h"
#include "qzone/Endpoints.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAction>
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
{
    connect(window.downloadAlbumAction, &QAction::triggered, this, &AlbumDownloadController::startJob);
    // Queued: the stop button's own handler clears the job's flag first.
    connect(
        window.stopButton, &QPushButton::clicked, this,
        [this] {
            if (m_job)
                m_job->noticeStop();
        },
        Qt::QueuedConnection);
}

AlbumDownloadController::~AlbumDownloadController()
{
    // The job reports into this object; it must not outlive it.
    delete m_job.data();
}

void AlbumDownloadController::startJob()
{
    // The menu is refused while a job runs; a trigger from elsewhere is ignored too.
    if (m_job)
        return;
    auto *job = new AlbumDownloadJob(m_network, m_endpoints, m_state, m_albums, *this, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    connect(job, &AlbumDownloadJob::sessionExpired, this, &AlbumDownloadController::sessionExpired);
    job->setPacing(m_pacing);
    job->setServicePause(m_pauseOptions);
    // A new run may start as soon as this one has ended, before the object is gone.
    connect(job, &AlbumDownloadJob::ended, this, [this, job] {
        if (m_job == job)
            m_job = nullptr;
        job->deleteLater();
        Q_EMIT runEnded();
    });
    if (!job->start()) {
        delete job;
        return;
    }
    m_job = job;
}

int AlbumDownloadController::selectedAlbumRow() const
{
    return m_window.selectedAlbumRow();
}

QString AlbumDownloadController::saveFolder() const
{
    return m_window.saveFolder();
}

NamingMode AlbumDownloadController::namingMode() const
{
    return m_window.namingMode();
}

PictureQuality AlbumDownloadController::quality() const
{
    return QualityOfBoxIndex(m_window.qualityCombo->currentIndex());
}

bool AlbumDownloadController::onlyNew() const
{
    return m_window.onlyNewCheck->isChecked();
}

bool AlbumDownloadController::writeMetadata() const
{
    return m_window.writeMetadataCheck->isChecked();
}

void AlbumDownloadController::setStatusText(const QString &text)
{
    m_window.setStatusText(text);
}

void AlbumDownloadController::addLogLines(const QStringList &messages)
{
    m_log.add(messages);
}

void AlbumDownloadController::setJobControlsEnabled(bool enabled)
{
    MainWindow &w = m_window;
    for (QWidget *control : std::initializer_list<QWidget *> {
             w.signInButton, w.listOwnAlbumsButton, w.listOtherAlbumsButton, w.chooseFolderButton,
             w.qualityCombo, w.checkAllButton, w.uncheckAllButton})
        control->setEnabled(enabled);
}

void AlbumDownloadController::setAlbumListEnabled(bool enabled)
{
    m_window.albumView->setEnabled(enabled);
}

void AlbumDownloadController::setProgressRange(int minimum, int maximum)
{
    m_window.setProgressRange(minimum, maximum);
}

void AlbumDownloadController::setProgressValue(int value)
{
    m_window.setProgressValue(value);
}

} // namespace albivex
