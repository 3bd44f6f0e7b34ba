#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;

namespace albivex {

class ActivityLog;
class GalleryJob;
class UrlOpener;
struct GalleryBuildResult;
struct WindowState;

// "浏览备份": enabled while the current space's folder (the path box / the listed QQ
// number) holds an offline album page, and opens it in the desktop's browser. It also
// has the offline album of the space just saved to built (GalleryJob) once a download
// run ends, and looks at the button again when that is done, when the path box changes
// and after each listing (refresh()).
class GalleryController : public QObject
{
    Q_OBJECT
public:
    GalleryController(QPushButton &openButton, QLineEdit &folderEdit, const WindowState &state,
                      GalleryJob &job, ActivityLog &log, UrlOpener &urls);

    // Enables the button when the current space's page is there.
    void refresh();
    // Builds the current space's offline album, off the window's thread.
    void buildCurrentSpace();

private:
    QString currentSpacePage() const;
    void open();
    void onBuilt(const GalleryBuildResult &result);

    QPushButton &m_openButton;
    QLineEdit &m_folderEdit;
    const WindowState &m_state;
    GalleryJob &m_job;
    ActivityLog &m_log;
    UrlOpener &m_urls;
};

} // namespace albivex
