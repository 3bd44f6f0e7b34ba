#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace albivex {

struct WindowState;
class ActivityLog;
class StatusBar;

// The load sequence of the main window: skin, opening values, the window shown
// centred, the welcome lines, the version panel and the default save folder. The
// version check follows it (the application object starts it right after run()).
// Also keeps the QQ number typed for another space in the credentials.
class StartupController : public QObject
{
    Q_OBJECT
public:
    StartupController(WindowState &state, ActivityLog &log, QWidget &window, QLineEdit &otherQqEdit,
                      QComboBox &qualityCombo, StatusBar &statusBar, QLineEdit &saveFolderEdit);

    // Runs once, when the program starts.
    void run();

private:
    void showCentred();

    WindowState &m_state;
    ActivityLog &m_log;
    QWidget &m_window;
    QComboBox &m_qualityCombo;
    StatusBar &m_statusBar;
    QLineEdit &m_saveFolderEdit;
};

} // namespace albivex
