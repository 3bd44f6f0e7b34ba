#pragma once

#include <QObject>

class QTreeView;

namespace albivex {

class Endpoints;
struct WindowState;
class ActivityLog;
class Prompts;
class UrlOpener;
class PhotoListingView;

// What the small buttons of the main window do that belong to no listing or
// download: back from the photo list ("<="), stop ("终止任务"), clearing the log
// ("CLEAR"), the vendor's forum and service pages, and "打开图片" of the photo list
// menu. The application object connects the buttons to these.
class ShellButtonsController : public QObject
{
    Q_OBJECT
public:
    ShellButtonsController(const Endpoints &endpoints, WindowState &state, ActivityLog &log, Prompts &prompts,
                           UrlOpener &urls, PhotoListingView &view, QTreeView &albumView,
                           QTreeView &photoView);

    void backToAlbums();
    void stopJobs();
    void clearLog();
    void openForum();
    void openService();
    void openPicture();

private:
    const Endpoints &m_endpoints;
    WindowState &m_state;
    ActivityLog &m_log;
    Prompts &m_prompts;
    UrlOpener &m_urls;
    PhotoListingView &m_view;
    QTreeView &m_albumView;
    QTreeView &m_photoView;
};

} // namespace albivex
