#pragma once

#include <QObject>

namespace albivex {

struct AppContext;

// The load sequence of the main window: skin, opening values, the window shown
// centred, the welcome lines, the version panel and the default save folder. The
// version check follows it (the application object starts it right after run()).
// Also keeps the QQ number typed in otherQqEdit in the credentials.
class StartupController : public QObject
{
    Q_OBJECT
public:
    explicit StartupController(AppContext &ctx);

    // Runs once, when the program starts.
    void run();

private:
    void showCentred();

    AppContext &m_ctx;
};

} // namespace albivex
