#include "shell/ui/ShellButtonsController.h"

#include "window/ActivityLog.h"
#include "app/AppContext.h"
#include "window/MainWindow.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>

namespace albivex {

namespace {
// Columns of the photo list rows.
constexpr int PhotoNameColumn = 1;
constexpr int PhotoUrlColumn = 4;
} // namespace

ShellButtonsController::ShellButtonsController(AppContext &ctx) : m_ctx(ctx)
{
    Form1 &w = m_ctx.window;
    connect(w.Command5, &QPushButton::clicked, this, &ShellButtonsController::backToAlbums);
    connect(w.Command6, &QPushButton::clicked, this, &ShellButtonsController::stopJobs);
    connect(w.Command8, &QPushButton::clicked, this, [this] { m_ctx.log.clear(); });
    connect(w.Command9, &QPushButton::clicked, this,
            [this] { m_ctx.urls.open(m_ctx.endpoints.url(Endpoint::VendorForum)); });
    connect(w.Command10, &QPushButton::clicked, this,
            [this] { m_ctx.urls.open(m_ctx.endpoints.url(Endpoint::VendorService)); });
    connect(w.dktp, &QAction::triggered, this, &ShellButtonsController::openPicture);
}

void ShellButtonsController::backToAlbums()
{
    Form1 &w = m_ctx.window;
    w.Command5->hide();
    w.ListView1->show();
    w.ListView2->hide();
    w.Label6->hide();
    w.Label7->hide();
    m_ctx.state.PhotoViewOpen = false;
}

// Running jobs test their flag before each next step, so a transfer in progress
// completes; nothing here waits for them.
void ShellButtonsController::stopJobs()
{
    m_ctx.state.AlbumJobRunning = false;
    m_ctx.state.PhotoViewOpen = false;
    m_ctx.state.SelectedDownloadRunning = false;
    m_ctx.window.ListView1->setEnabled(true);
}

void ShellButtonsController::openPicture()
{
    const QModelIndex current = m_ctx.window.ListView2->currentIndex();
    const QString name
        = current.isValid() ? current.siblingAtColumn(PhotoNameColumn).data().toString() : QString();
    if (name.isEmpty()) {
        const QString message = QStringLiteral("请选择图片");
        m_ctx.window.setStatusText(message);
        m_ctx.prompts.inform(AppBoxTitle(), message, Prompts::Icon::Information);
        return;
    }
    const QString address = current.siblingAtColumn(PhotoUrlColumn).data().toString();
    m_ctx.urls.open(QUrl(address));
}

} // namespace albivex
