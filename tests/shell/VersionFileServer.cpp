#include "VersionFileServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

VersionFileServer::VersionFileServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                const QByteArray head = socket->peek(64 * 1024);
                if (!head.contains("\r\n\r\n") || socket->property("answered").toBool())
                    return;
                socket->setProperty("answered", true);
                ++m_requests;
                m_lastRequestLine = head.left(head.indexOf("\r\n"));
                QPointer<QTcpSocket> guarded(socket);
                QTimer::singleShot(m_delayMs, this, [this, guarded] {
                    if (guarded)
                        answer(guarded);
                });
            });
        }
    });
}

QString VersionFileServer::root() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void VersionFileServer::answer(QTcpSocket *socket)
{
    switch (m_mode) {
    case Mode::Stall:
        return;
    case Mode::Close:
        socket->abort();
        return;
    case Mode::Serve:
        break;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(m_status) + " X\r\n";
    reply += "Content-Type: text/plain\r\nConnection: close\r\n";
    reply += "Content-Length: " + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body;
    socket->write(reply);
    socket->disconnectFromHost();
}
