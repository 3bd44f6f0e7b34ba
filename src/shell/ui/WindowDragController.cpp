#include "shell/ui/WindowDragController.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace albivex {

WindowDragController::WindowDragController(QWidget &window, QWidget &logo) : m_window(window)
{
    m_window.installEventFilter(this);
    logo.installEventFilter(this);
}

bool WindowDragController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    QWidget &window = m_window;
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
