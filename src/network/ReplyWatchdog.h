#pragma once

#include <QObject>
#include <QTimer>

class QNetworkReply;

namespace albivex {

// Aborts a reply that receives nothing for `idleMs`. Any upload or download
// progress restarts the count, so a slow but moving transfer is never cut.
class ReplyWatchdog : public QObject
{
    Q_OBJECT
public:
    ReplyWatchdog(QNetworkReply *reply, int idleMs);

    bool fired() const { return m_fired; }

private:
    QTimer m_timer;
    bool m_fired = false;
};

} // namespace albivex
