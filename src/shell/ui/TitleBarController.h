#pragma once

#include <QColor>
#include <QObject>

class QLabel;
class QWidget;

namespace albivex {

class Endpoints;
class UrlOpener;

// The window has no system caption: its own title bar is the three labels
// "_" (minimise), "x" (end the program) and "官方网站" (the vendor's home page).
// The label under the mouse turns light grey, the others stay white.
class TitleBarController : public QObject
{
    Q_OBJECT
public:
    TitleBarController(QWidget &window, QLabel &minimise, QLabel &close, QLabel &website, UrlOpener &urls,
                       const Endpoints &endpoints);

    // Removes the caption and sizing frame but keeps the minimise button and the
    // system menu, so the task bar can still minimise and restore the window.
    static void stripWindowCaption(QWidget &window);

    static QColor normalColour();
    static QColor hoverColour();

Q_SIGNALS:
    // "x" was clicked: the program is to end now.
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void highlight(QLabel *hovered);
    void act(QLabel *label);

    QWidget &m_window;
    UrlOpener &m_urls;
    const Endpoints &m_endpoints;
    QLabel *m_labels[3]; // minimise, close, website
};

} // namespace albivex
