#pragma once

#include <QObject>

namespace albivex {

struct AppContext;

// The small buttons of the main window that belong to no listing or download:
// back from the photo list ("<=", Command5), stop ("终止任务", Command6), clearing the
// log ("CLEAR", Command8), the vendor's forum and service pages (Command9,
// Command10), and "打开图片" (dktp) of the photo list menu.
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
