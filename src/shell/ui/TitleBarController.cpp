#include "shell/ui/TitleBarController.h"

#include "qzone/Endpoints.h"
#include "session/UrlOpener.h"

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <iterator>

namespace albivex {

TitleBarController::TitleBarController(QWidget &window, QLabel &minimise, QLabel &close, QLabel &website,
                                       UrlOpener &urls, const Endpoints &endpoints)
    : m_window(window), m_urls(urls), m_endpoints(endpoints), m_labels {&minimise, &close, &website}
{
    stripWindowCaption(m_window);
    // Moves over the bare window must arrive to whiten the labels again.
    m_window.setMouseTracking(true);
    m_window.installEventFilter(this);
    for (QLabel *label : m_labels)
        label->installEventFilter(this);
    highlight(nullptr);
}

void TitleBarController::stripWindowCaption(QWidget &window)
{
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowSystemMenuHint);
}

QColor TitleBarController::normalColour()
{
    return QColor(0xff, 0xff, 0xff);
}

QColor TitleBarController::hoverColour()
{
    return QColor(0xe0, 0xe0, 0xe0);
}

void TitleBarController::highlight(QLabel *hovered)
{
    for (QLabel *label : m_labels) {
        const QColor colour = label == hovered ? hoverColour() : normalColour();
        const QString sheet = QStringLiteral("color: %1;").arg(colour.name());
        if (label->styleSheet() != sheet)
            label->setStyleSheet(sheet);
    }
}

void TitleBarController::act(QLabel *label)
{
    if (label == m_labels[0])
        m_window.showMinimized();
    else if (label == m_labels[1])
        Q_EMIT quitRequested();
    else if (label == m_labels[2])
        m_urls.open(m_endpoints.url(Endpoint::VendorHome));
}

bool TitleBarController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
            auto *hit = qobject_cast<QLabel *>(m_window.childAt(at));
            if (std::find(std::begin(m_labels), std::end(m_labels), hit) == std::end(m_labels))
                highlight(nullptr);
        }
        return false;
    }
    auto *label = static_cast<QLabel *>(watched);
    switch (event->type()) {
    case QEvent::Enter:
        highlight(label);
        break;
    case QEvent::Leave:
        highlight(nullptr);
        break;
    case QEvent::MouseButtonRelease:
        if (label->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
            act(label);
        return true;
    case QEvent::MouseButtonPress:
        // The press belongs to the label; it must not start a window drag.
        return true;
    default:
        break;
    }
    return false;
}

} // namespace albivex
