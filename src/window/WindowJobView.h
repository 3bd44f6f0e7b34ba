#pragma once

#include "albumdl/AlbumJobView.h"

namespace albivex {

class ActivityLog;
class MainWindow;
struct WindowState;

// What a download job sees of the main window (AlbumJobView), read from and shown in
// its controls: the album and 说说 runs share it. Every read is made afresh, so edits
// the user makes while a job runs take effect from the next picture.
class WindowJobView : public AlbumJobView
{
public:
    WindowJobView(MainWindow &window, ActivityLog &log, const WindowState &state)
        : m_window(window), m_log(log), m_state(state)
    { }

    // While set, onlyNew() holds: a run taken up again never fetches a file its record
    // holds whole.
    void setResuming(bool resuming) { m_resuming = resuming; }
    bool resuming() const { return m_resuming; }

    int selectedAlbumRow() const override;
    QString saveFolder() const override;
    NamingMode namingMode() const override;
    PictureQuality quality() const override;
    bool onlyNew() const override;
    bool writeMetadata() const override;
    void setStatusText(const QString &text) override;
    void addLogLines(const QStringList &messages) override;
    void addLogLinesNow(const QStringList &messages) override;
    void setJobControlsEnabled(bool enabled) override;
    void setAlbumListEnabled(bool enabled) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;

private:
    MainWindow &m_window;
    ActivityLog &m_log;
    const WindowState &m_state;
    bool m_resuming = false;
};

} // namespace albivex
