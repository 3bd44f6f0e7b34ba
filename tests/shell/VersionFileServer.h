#pragma once

#include <QByteArray>
#include <QTcpServer>

// A loopback server standing in for the vendor's site: every request gets the same
// answer (a body, an empty body, silence, or a closed connection), after an optional delay.
class VersionFileServer : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Serve, Stall, Close };

    VersionFileServer();

    void serve(const QByteArray &body, int status = 200)
    {
        m_mode = Mode::Serve;
        m_body = body;
        m_status = status;
    }
    void setMode(Mode mode) { m_mode = mode; }
    void setDelayMs(int ms) { m_delayMs = ms; }

    QString root() const;
    int requestCount() const { return m_requests; }
    QByteArray lastRequestLine() const { return m_lastRequestLine; }

private:
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    Mode m_mode = Mode::Serve;
    QByteArray m_body = "morvith:V1.0|";
    int m_status = 200;
    int m_delayMs = 0;
    int m_requests = 0;
    QByteArray m_lastRequestLine;
};
