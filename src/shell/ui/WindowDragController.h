#pragma once

#include <QObject>

class QWidget;

namespace albivex {

// Without a caption the window is moved by its background: any mouse button pressed
// on the bare window (not on a control) or on the logo hands the move to the window
// system, as a press on a caption would.
class WindowDragController : public QObject
{
    Q_OBJECT
public:
    // `logo`: a child of `window` that moves the window like the bare background.
    WindowDragController(QWidget &window, QWidget &logo);

Q_SIGNALS:
    // A press started a move (also where the platform cannot move windows).
    void moveStarted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
};

} // namespace albivex
