#pragma once

#include <QObject>

namespace albivex {

class Endpoints;
struct WindowState;
class ActivityLog;
class Prompts;
class UrlOpener;
class MainWindow;

// The small buttons of the main window that belong to no listing or download:
// back from the photo list ("<=", backButton), stop ("终止任务", stopButton), clearing the
// log ("CLEAR", clearLogButton), the vendor's forum and service pages (forumButton,
// serviceButton), and "打开图片" (openPictureAction) of the photo list menu.
class ShellButtonsController : public QObject
{
    Q_OBJECT
public:
    ShellButtonsController(const Endpoints &endpoints, WindowState &state, ActivityLog &log, Prompts &prompts,
                           UrlOpener &urls, MainWindow &window);

private:
    void backToAlbums();
    void stopJobs();
    void openPicture();

    const Endpoints &m_endpoints;
    WindowState &m_state;
    ActivityLog &m_log;
    Prompts &m_prompts;
    UrlOpener &m_urls;
    MainWindow &m_window;
};

} // namespace albivex
