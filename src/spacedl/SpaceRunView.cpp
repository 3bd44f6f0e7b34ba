#include "spacedl/SpaceRunView.h"

namespace albivex {

void SpaceRunView::setProgressText(const QString &text)
{
    if (text == m_progressText)
        return;
    m_progressText = text;
    setStatusText(m_statusText);
}

void SpaceRunView::setStatusText(const QString &text)
{
    m_statusText = text;
    m_window.setStatusText(QLatin1Char('[') + m_progressText + QStringLiteral("] ") + text);
}

} // namespace albivex
