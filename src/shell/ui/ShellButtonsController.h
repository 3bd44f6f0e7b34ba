#pragma once

#include <QObject>

namespace albivex {

struct AppContext;

// The small buttons of the main window that belong to no listing or download:
// back from the photo list ("<=", backButton), stop ("终止任务", stopButton), clearing the
// log ("CLEAR", clearLogButton), the vendor's forum and service pages (forumButton,
// serviceButton), and "打开图片" (openPictureAction) of the photo list menu.
class ShellButtonsController : public QObject
{
    Q_OBJECT
public:
    explicit ShellButtonsController(AppContext &ctx);

private:
    void backToAlbums();
    void stopJobs();
    void openPicture();

    AppContext &m_ctx;
};

} // namespace albivex
