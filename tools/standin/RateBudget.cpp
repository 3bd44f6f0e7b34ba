#include "standin/RateBudget.h"

#include <QMutexLocker>

namespace albivex::standin {

void RateBudget::setLimit(int perWindow)
{
    QMutexLocker lock(&m_mutex);
    m_limit = qMax(0, perWindow);
}

int RateBudget::limit() const
{
    QMutexLocker lock(&m_mutex);
    return m_limit;
}

bool RateBudget::take()
{
    QMutexLocker lock(&m_mutex);
    if (m_limit == 0)
        return true;
    const qint64 now = window();
    if (now != m_window) {
        m_window = now;
        m_used = 0;
    }
    if (m_used >= m_limit)
        return false;
    ++m_used;
    return true;
}

} // namespace albivex::standin
