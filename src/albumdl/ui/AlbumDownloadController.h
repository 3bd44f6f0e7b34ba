#pragma once

#include "albumdl/AlbumJobView.h"

#include <QObject>
#include <QPointer>

namespace albivex {

class AlbumDownloadJob;
struct AppContext;

// "下载相册" of the album menu: runs the album download job on the main window. The
// window side of the job (status text, log, progress bar, the job controls and the
// choices read for every picture) is implemented here over MainWindow.
class AlbumDownloadController : public QObject, private AlbumJobView
{
    Q_OBJECT
public:
    explicit AlbumDownloadController(AppContext &ctx, QObject *parent = nullptr);
    ~AlbumDownloadController() override;

private:
    void startJob();

    int selectedAlbumRow() const override;
    QString saveFolder() const override;
    NamingMode namingMode() const override;
    PictureQuality quality() const override;
    void setStatusText(const QString &text) override;
    void addLogLines(const QStringList &messages) override;
    void setJobControlsEnabled(bool enabled) override;
    void setAlbumListEnabled(bool enabled) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;

    AppContext &m_ctx;
    QPointer<AlbumDownloadJob> m_job;
};

} // namespace albivex
