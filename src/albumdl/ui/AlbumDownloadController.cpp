#include "albumdl/ui/AlbumDownloadController.h"

#include "albumdl/AlbumDownloadJob.h"
#include "app/AppContext.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/SelectedNamingMode.h"
#include "window/SelectedRow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace albivex {

AlbumDownloadController::AlbumDownloadController(AppContext &ctx, QObject *parent)
    : QObject(parent), m_ctx(ctx)
{
    connect(ctx.window.downloadAlbumAction, &QAction::triggered, this, &AlbumDownloadController::startJob);
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
    auto *job = new AlbumDownloadJob(m_ctx.network, m_ctx.endpoints, m_ctx.state, m_ctx.albums, *this,
                                     m_ctx.prompts, this);
    job->setTransferOptions(m_ctx.transferOptions);
    // A new run may start as soon as this one has ended, before the object is gone.
    connect(job, &AlbumDownloadJob::ended, this, [this, job] {
        if (m_job == job)
            m_job = nullptr;
        job->deleteLater();
    });
    if (!job->start()) {
        delete job;
        return;
    }
    m_job = job;
}

int AlbumDownloadController::selectedAlbumRow() const
{
    return SelectedRow(m_ctx.window.albumView);
}

QString AlbumDownloadController::saveFolder() const
{
    return m_ctx.window.saveFolderEdit->text();
}

NamingMode AlbumDownloadController::namingMode() const
{
    return SelectedNamingMode(m_ctx.window);
}

PictureQuality AlbumDownloadController::quality() const
{
    return m_ctx.window.qualityCombo->currentIndex() == 0 ? PictureQuality::Normal : PictureQuality::High;
}

void AlbumDownloadController::setStatusText(const QString &text)
{
    m_ctx.window.setStatusText(text);
}

void AlbumDownloadController::addLogLines(const QStringList &messages)
{
    m_ctx.log.add(messages);
}

void AlbumDownloadController::setJobControlsEnabled(bool enabled)
{
    MainWindow &w = m_ctx.window;
    for (QWidget *control : std::initializer_list<QWidget *> {
             w.signInButton, w.listOwnAlbumsButton, w.listOtherAlbumsButton, w.chooseFolderButton,
             w.qualityCombo, w.checkAllButton, w.uncheckAllButton})
        control->setEnabled(enabled);
}

void AlbumDownloadController::setAlbumListEnabled(bool enabled)
{
    m_ctx.window.albumView->setEnabled(enabled);
}

void AlbumDownloadController::setProgressRange(int minimum, int maximum)
{
    m_ctx.window.progressBar->setRange(minimum, maximum);
}

void AlbumDownloadController::setProgressValue(int value)
{
    m_ctx.window.progressBar->setValue(value);
}

} // namespace albivex
