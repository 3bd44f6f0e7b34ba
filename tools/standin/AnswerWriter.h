#pragma once

#include "standin/HttpAnswer.h"

#include <QObject>
#include <QPointer>

class QTcpSocket;

namespace albivex::standin {

// Writes one answer to a connection, in pieces as the client takes them, and carries
// out the faults that concern the bytes on the wire. Lives as a child of the socket.
class AnswerWriter : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        Normal,
        CutHalf, // full Content-Length announced, half the body, then closed
        ChunkedCut, // chunked: one chunk announced for the whole body, half of it sent, closed
        LongBody, // body plus extra bytes beyond Content-Length, then closed
        StallAfterHeaders, // headers only; the connection stays open
    };

    // Starts writing; the writer deletes itself when done. `headOnly` answers a HEAD
    // request; `close` ends the connection after the answer.
    static void send(QTcpSocket *socket, HttpAnswer answer, Mode mode, bool headOnly, bool close);

    static QByteArray reasonPhrase(int status);

private:
    AnswerWriter(QTcpSocket *socket, HttpAnswer answer, Mode mode, bool close);
    void start(bool headOnly);
    void feed();
    void finish();

    QPointer<QTcpSocket> m_socket;
    HttpAnswer m_answer;
    Mode m_mode;
    bool m_close;
    QByteArray m_pending; // headers not yet written, sent with the first piece of the body
    qint64 m_left = 0; // body bytes still to send
    bool m_done = false;
};

} // namespace albivex::standin
