#pragma once

#include "standin/StandinKnobs.h"

#include <QString>
#include <QThread>

#include <memory>

namespace albivex::standin {

class StandinServer;

// Runs a StandinServer on a thread of its own, so that the stand-in keeps answering
// while the thread under test is busy (and its time is not the test's time). The knobs
// can be used before start() and at any time after.
class StandinThread
{
public:
    StandinThread();
    ~StandinThread(); // stops the server and the thread

    // Starts the thread and listens on 127.0.0.1; returns once the server listens.
    bool start(quint16 port = 0);
    void stop();

    quint16 port() const { return m_port; }
    QString root() const;
    StandinKnobs &knobs() { return *m_knobs; }
    QByteArray pictureBytes(const QString &path) const { return m_knobs->pictureBytes(path); }

private:
    std::shared_ptr<StandinKnobs> m_knobs;
    QThread m_thread;
    StandinServer *m_server = nullptr; // lives on m_thread
    quint16 m_port = 0;
};

} // namespace albivex::standin
