#include "standin/RequestLog.h"

#include <QMutexLocker>

namespace albivex::standin {

void RequestLog::append(const LoggedRequest &request)
{
    QMutexLocker lock(&m_mutex);
    m_requests.append(request);
    if (m_file.isOpen()) {
        m_file.write(request.toLine().toUtf8() + '\n');
        m_file.flush();
    }
}

QList<LoggedRequest> RequestLog::all() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QList<LoggedRequest> RequestLog::to(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    QList<LoggedRequest> matching;
    for (const LoggedRequest &request : m_requests) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

int RequestLog::count(const QString &path) const
{
    return int(to(path).size());
}

void RequestLog::clear()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

bool RequestLog::setFile(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_file.close();
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

} // namespace albivex::standin
