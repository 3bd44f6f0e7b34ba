#pragma once

#include "standin/LoggedRequest.h"

#include <QFile>
#include <QMutex>

namespace albivex::standin {

// Every request the stand-in received, in arrival order; optionally appended to a file,
// one line per request. Thread-safe.
class RequestLog
{
public:
    void append(const LoggedRequest &request);
    QList<LoggedRequest> all() const;
    // Only the requests to this path (exact, without query).
    QList<LoggedRequest> to(const QString &path) const;
    int count(const QString &path) const;
    void clear();
    // Also appends every later request to the file; an empty path stops that.
    bool setFile(const QString &path);

private:
    mutable QMutex m_mutex;
    QList<LoggedRequest> m_requests;
    QFile m_file;
};

} // namespace albivex::standin
