#pragma once

#include "albumdl/AlbumJobView.h"

namespace albivex {

// What the parts of a whole-space run see of the window: the window's own view, read
// through, except that the run keeps the window's controls and progress bar to itself
// (the parts' changes to them are dropped) and every status text of a part is shown
// after the run's progress in brackets, "[3/24项 图片1200/10000张] 正在下载相册[A]（5%）".
// While resuming, onlyNew() holds, as for a run taken up alone.
class SpaceRunView : public AlbumJobView
{
public:
    explicit SpaceRunView(AlbumJobView &window) : m_window(window) { }

    void setResuming(bool resuming) { m_resuming = resuming; }
    // The bracket's text (SpaceProgressText); the status text shown is redone with it.
    void setProgressText(const QString &text);

    int selectedAlbumRow() const override { return m_window.selectedAlbumRow(); }
    QString saveFolder() const override { return m_window.saveFolder(); }
    NamingMode namingMode() const override { return m_window.namingMode(); }
    PictureQuality quality() const override { return m_window.quality(); }
    bool onlyNew() const override { return m_resuming || m_window.onlyNew(); }
    bool writeMetadata() const override { return m_window.writeMetadata(); }
    void setStatusText(const QString &text) override;
    void addLogLines(const QStringList &messages) override { m_window.addLogLines(messages); }
    void addLogLinesNow(const QStringList &messages) override { m_window.addLogLinesNow(messages); }
    void setJobControlsEnabled(bool) override { }
    void setAlbumListEnabled(bool) override { }
    void setProgressRange(int, int) override { }
    void setProgressValue(int) override { }

private:
    AlbumJobView &m_window;
    bool m_resuming = false;
    QString m_progressText;
    QString m_statusText; // the part's last
};

} // namespace albivex
