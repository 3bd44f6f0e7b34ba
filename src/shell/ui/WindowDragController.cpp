#include "shell/ui/WindowDragController.h"

#include "app/AppContext.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace albivex {

WindowDragController::WindowDragController(AppContext &ctx) : m_ctx(ctx)
{
    m_ctx.window.installEventFilter(this);
    m_ctx.window.logoLabel->installEventFilter(this);
}

bool WindowDragController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    MainWindow &window = m_ctx.window;
    if (watched == &window) {
        // Presses that a label or frame passed on to the window are not on the background.
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (window.childAt(at) != nullptr)
            return false;
    }
    Q_EMIT moveStarted();
    if (QWindow *handle = window.windowHandle())
        handle->startSystemMove();
    return true;
}

} // namespace albivex
