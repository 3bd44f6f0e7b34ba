#pragma once

#include <QObject>

namespace albivex {

struct AppContext;

// Without a caption the window is moved by its background: any mouse button pressed
// on the bare window (not on a control) or on the logo hands the move to the window
// system, as a press on a caption would.
class WindowDragController : public QObject
{
    Q_OBJECT
public:
    explicit WindowDragController(AppContext &ctx);

Q_SIGNALS:
    // A press started a move (also where the platform cannot move windows).
    void moveStarted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext &m_ctx;
};

} // namespace albivex
