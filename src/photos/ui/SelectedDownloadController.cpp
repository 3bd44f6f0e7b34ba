#include "photos/ui/SelectedDownloadController.h"

#include "app/AppContext.h"
#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/PictureTransfer.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"
#include "storage/UploadTime.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/SelectedNamingMode.h"
#include "window/SelectedRow.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeView>

namespace albivex {

SelectedDownloadController::SelectedDownloadController(AppContext &ctx, QObject *parent)
    : QObject(parent), m_ctx(ctx)
{
    connect(ctx.window.downloadPicturesAction, &QAction::triggered, this,
            &SelectedDownloadController::downloadSelectedPictures);
}

SelectedDownloadController::~SelectedDownloadController()
{
    if (m_transfer)
        m_transfer->cancel();
}

void SelectedDownloadController::downloadSelectedPictures()
{
    // One run at a time: a second one would interleave its pictures, progress and
    // lines with the first.
    if (m_running)
        return;
    const int row = SelectedRow(m_ctx.window.photoView);
    if (row < 0 || m_ctx.photos.entry(row).name.isEmpty()) {
        m_ctx.window.setStatusText(QStringLiteral("请选择图片"));
        m_ctx.prompts.inform(AppBoxTitle(), QStringLiteral("请选择图片"), Prompts::Icon::Information);
        return;
    }
    const int checkedCount = m_ctx.photos.checkedCount();
    const AlbumEntry &album = m_ctx.albums.entry(SelectedRow(m_ctx.window.albumView));
    m_folder = AlbumFolderPath(m_ctx.window.saveFolderEdit->text(), m_ctx.state.listedOwnerUin, album.name);
    // What an earlier run that was killed mid-transfer left in this folder goes now.
    RemoveStaleTemporaryFiles(m_folder, StaleTemporaryAgeMs(m_ctx.transferOptions.idleMs));
    m_listing = m_ctx.photos.listing();
    m_running = true;
    if (checkedCount < 2)
        downloadSingle(row);
    else
        startMulti(checkedCount);
}

void SelectedDownloadController::downloadSingle(int row)
{
    transfer(row, PictureFileName(NamingMode::NameAndRandom, row + 1, m_ctx.photos.entry(row).name), false);
}

void SelectedDownloadController::startMulti(int checkedCount)
{
    m_ctx.state.selectedDownloadRunning = true;
    QProgressBar *progress = m_ctx.window.progressBar;
    progress->setValue(1);
    progress->setRange(1, checkedCount);
    m_rowCount = m_ctx.photos.size();
    m_nextRow = 0;
    m_reached = 0;
    QTimer::singleShot(0, this, &SelectedDownloadController::nextPicture);
}

void SelectedDownloadController::nextPicture()
{
    while (m_nextRow < m_rowCount) {
        const int row = m_nextRow++;
        // Another album was opened meanwhile: the rows this run meant are gone.
        if (m_ctx.photos.listing() != m_listing)
            break;
        if (!m_ctx.photos.isChecked(row))
            continue;
        if (!m_ctx.state.selectedDownloadRunning) {
            m_ctx.window.progressBar->setValue(1);
            m_ctx.log.add(QStringLiteral("已终止下载任务.."));
            m_ctx.window.setStatusText(QStringLiteral("已终止下载任务"));
            break;
        }
        m_ctx.window.progressBar->setValue(++m_reached);
        // The naming option is read per picture: a change during the run applies to
        // the pictures not yet reached.
        transfer(row,
                 PictureFileName(SelectedNamingMode(m_ctx.window), row + 1, m_ctx.photos.entry(row).name),
                 true);
        return;
    }
    m_ctx.state.selectedDownloadRunning = false;
    finish();
}

void SelectedDownloadController::transfer(int row, const QString &fileName, bool multi)
{
    const PhotoEntry &picture = m_ctx.photos.entry(row);
    PictureTransfer::Options options = m_ctx.transferOptions;
    options.modifiedTime = ParseUploadTime(picture.uploadTime);
    const QString name = picture.name;
    m_transfer = DownloadPictureFile(
        m_ctx.network, picture.url, m_folder + QLatin1Char('/') + fileName, this,
        [this, row, name, multi](const TransferResult &result) { onTransferred(row, name, result, multi); },
        options);
}

void SelectedDownloadController::onTransferred(int row, const QString &name, const TransferResult &result,
                                               bool multi)
{
    m_transfer = nullptr;
    if (m_ctx.photos.listing() == m_listing)
        m_ctx.photos.setStatus(row, result.ok() ? QStringLiteral("√") : QStringLiteral("×"));
    m_ctx.log.add(QLatin1Char('[') + name + QLatin1Char(']')
                  + (result.ok() ? QStringLiteral("下载完成..") : QStringLiteral("下载失败..")));
    if (multi) {
        // Let the user's input in between pictures (the stop button, ticks).
        QTimer::singleShot(0, this, &SelectedDownloadController::nextPicture);
        return;
    }
    m_ctx.window.setStatusText(QStringLiteral("所选图片已下载.."));
    m_ctx.log.add(QStringLiteral("所选图片已完成下载.."));
    m_running = false;
}

void SelectedDownloadController::finish()
{
    m_ctx.window.setStatusText(QStringLiteral("所选图片已完成下载.."));
    m_ctx.log.add(QStringLiteral("所选图片已完成下载.."));
    m_running = false;
}

} // namespace albivex
