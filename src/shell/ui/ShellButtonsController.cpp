#include "shell/ui/ShellButtonsController.h"

#include "photos/PhotoListingView.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

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
                                               PhotoListingView &view, QTreeView &albumView,
                                               QTreeView &photoView)
    : m_endpoints(endpoints)
    , m_state(state)
    , m_log(log)
    , m_prompts(prompts)
    , m_urls(urls)
    , m_view(view)
    , m_albumView(albumView)
    , m_photoView(photoView)
{ }

void ShellButtonsController::backToAlbums()
{
    m_view.showAlbumList();
    m_state.photoViewOpen = false;
}

void ShellButtonsController::clearLog()
{
    m_log.clear();
}

void ShellButtonsController::openForum()
{
    m_urls.open(m_endpoints.url(Endpoint::VendorForum));
}

void ShellButtonsController::openService()
{
    m_urls.open(m_endpoints.url(Endpoint::VendorService));
}

// Running jobs test their flag before each next step, so a transfer in progress
// completes; nothing here waits for them.
void ShellButtonsController::stopJobs()
{
    m_state.albumJobRunning = false;
    m_state.photoViewOpen = false;
    m_state.selectedDownloadRunning = false;
    m_albumView.setEnabled(true);
}

void ShellButtonsController::openPicture()
{
    const QModelIndex current = m_photoView.currentIndex();
    const QString name
        = current.isValid() ? current.siblingAtColumn(PhotoNameColumn).data().toString() : QString();
    if (name.isEmpty()) {
        const QString message = QStringLiteral("请选择图片");
        m_view.setStatusText(message);
        m_prompts.inform(AppBoxTitle(), message, Prompts::Icon::Information);
        return;
    }
    const QString address = current.siblingAtColumn(PhotoUrlColumn).data().toString();
    m_urls.open(QUrl(address));
}

} // namespace albivex
