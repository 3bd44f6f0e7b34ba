#include "shell/ui/ShellButtonsController.h"

#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

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

ShellButtonsController::ShellButtonsController(const Endpoints &endpoints, WindowState &state,
                                               ActivityLog &log, Prompts &prompts, UrlOpener &urls,
                                               MainWindow &window)
    : m_endpoints(endpoints), m_state(state), m_log(log), m_prompts(prompts), m_urls(urls), m_window(window)
{
    MainWindow &w = m_window;
    connect(w.backButton, &QPushButton::clicked, this, &ShellButtonsController::backToAlbums);
    connect(w.stopButton, &QPushButton::clicked, this, &ShellButtonsController::stopJobs);
    connect(w.clearLogButton, &QPushButton::clicked, this, [this] { m_log.clear(); });
    connect(w.forumButton, &QPushButton::clicked, this,
            [this] { m_urls.open(m_endpoints.url(Endpoint::VendorForum)); });
    connect(w.serviceButton, &QPushButton::clicked, this,
            [this] { m_urls.open(m_endpoints.url(Endpoint::VendorService)); });
    connect(w.openPictureAction, &QAction::triggered, this, &ShellButtonsController::openPicture);
}

void ShellButtonsController::backToAlbums()
{
    MainWindow &w = m_window;
    w.backButton->hide();
    w.albumView->show();
    w.photoView->hide();
    w.albumNameLabel->hide();
    w.albumDescriptionLabel->hide();
    m_state.photoViewOpen = false;
}

// Running jobs test their flag before each next step, so a transfer in progress
// completes; nothing here waits for them.
void ShellButtonsController::stopJobs()
{
    m_state.albumJobRunning = false;
    m_state.photoViewOpen = false;
    m_state.selectedDownloadRunning = false;
    m_window.albumView->setEnabled(true);
}

void ShellButtonsController::openPicture()
{
    const QModelIndex current = m_window.photoView->currentIndex();
    const QString name
        = current.isValid() ? current.siblingAtColumn(PhotoNameColumn).data().toString() : QString();
    if (name.isEmpty()) {
        const QString message = QStringLiteral("请选择图片");
        m_window.setStatusText(message);
        m_prompts.inform(AppBoxTitle(), message, Prompts::Icon::Information);
        return;
    }
    const QString address = current.siblingAtColumn(PhotoUrlColumn).data().toString();
    m_urls.open(QUrl(address));
}

} // namespace albivex
