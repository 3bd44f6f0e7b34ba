#pragma once

#include <QObject>

namespace albivex {

struct WindowState;
class ActivityLog;
class MainWindow;

// The load sequence of the main window: skin, opening values, the window shown
// centred, the welcome lines, the version panel and the default save folder. The
// version check follows it (the application object starts it right after run()).
// Also keeps the QQ number typed in otherQqEdit in the credentials.
class StartupController : public QObject
{
    Q_OBJECT
public:
    StartupController(WindowState &state, ActivityLog &log, MainWindow &window);

    // Runs once, when the program starts.
    void run();

private:
    void showCentred();

    WindowState &m_state;
    ActivityLog &m_log;
    MainWindow &m_window;
};

} // namespace albivex
