#include "standin/StandinThread.h"

#include "standin/StandinServer.h"

#include <QMetaObject>

namespace albivex::standin {

StandinThread::StandinThread() : m_knobs(std::make_shared<StandinKnobs>())
{
    m_thread.setObjectName(QStringLiteral("albivex-standin"));
}

StandinThread::~StandinThread()
{
    stop();
}

QString StandinThread::root() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

bool StandinThread::start(quint16 port)
{
    if (m_server)
        return true;
    // Created here, then moved before it listens, so that its listening socket and
    // every connection live on the server's thread.
    m_server = new StandinServer(m_knobs);
    m_server->moveToThread(&m_thread);
    m_thread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        m_server, [this, port, &listening] { listening = m_server->listen(port); },
        Qt::BlockingQueuedConnection);
    if (!listening) {
        stop();
        return false;
    }
    m_port = m_server->port();
    return true;
}

void StandinThread::stop()
{
    if (m_server) {
        // Deleted on its own thread: pending deletions run when the thread finishes.
        m_server->deleteLater();
        m_server = nullptr;
    }
    m_thread.quit();
    m_thread.wait();
    m_port = 0;
}

} // namespace albivex::standin
