#include "standin/AnswerWriter.h"

#include "standin/ByteArraySource.h"

#include <QTcpSocket>

namespace albivex::standin {

namespace {

constexpr qint64 Piece = 256 * 1024;
constexpr qint64 HighWater = 512 * 1024; // bytes queued in the socket before waiting

} // namespace

QByteArray AnswerWriter::reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status";
    }
}

void AnswerWriter::send(QTcpSocket *socket, HttpAnswer answer, Mode mode, bool headOnly, bool close)
{
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return;
    auto *writer = new AnswerWriter(socket, std::move(answer), mode, close);
    writer->start(headOnly);
}

AnswerWriter::AnswerWriter(QTcpSocket *socket, HttpAnswer answer, Mode mode, bool close)
    : QObject(socket), m_socket(socket), m_answer(std::move(answer)), m_mode(mode), m_close(close)
{
    if (!m_answer.stream)
        m_answer.stream = std::make_shared<ByteArraySource>(m_answer.body);
    m_answer.body.clear();
}

void AnswerWriter::start(bool headOnly)
{
    const qint64 size = m_answer.stream->size();
    QByteArray head
        = "HTTP/1.1 " + QByteArray::number(m_answer.status) + ' ' + reasonPhrase(m_answer.status) + "\r\n";
    for (const auto &h : m_answer.headers)
        head += h.first + ": " + h.second + "\r\n";
    if (m_mode == Mode::ChunkedCut)
        head += "Transfer-Encoding: chunked\r\n";
    else
        head += "Content-Length: " + QByteArray::number(size) + "\r\n";
    const bool closes
        = m_close || m_mode == Mode::CutHalf || m_mode == Mode::ChunkedCut || m_mode == Mode::LongBody;
    head += closes ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
    // Small answers go out in one piece and at once: otherwise Nagle's algorithm holds
    // the body back until the client acknowledges the headers, tens of ms each time.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_pending = head;
    // One chunk announced as long as the whole body, and only half of it sent before the
    // close: the body ends inside a chunk, which every client must see as broken. (A body
    // cut between two whole chunks is at times taken as complete by the client's network
    // layer, depending on when it learns of the close.)
    if (m_mode == Mode::ChunkedCut)
        m_pending += QByteArray::number(qMax<qint64>(size, 1), 16) + "\r\n";

    switch (m_mode) {
    case Mode::StallAfterHeaders:
        m_socket->write(m_pending);
        return; // stays until the client gives up and the socket goes
    case Mode::CutHalf:
    case Mode::ChunkedCut:
        m_left = size / 2;
        break;
    case Mode::Normal:
    case Mode::LongBody:
        m_left = size;
        break;
    }
    if (headOnly)
        m_left = 0;
    connect(m_socket, &QTcpSocket::bytesWritten, this, &AnswerWriter::feed);
    feed();
}

void AnswerWriter::feed()
{
    if (m_done || !m_socket)
        return;
    while (m_left > 0 && m_socket->bytesToWrite() < HighWater) {
        const QByteArray piece = m_answer.stream->read(qMin(Piece, m_left));
        if (piece.isEmpty()) {
            m_left = 0;
            break;
        }
        m_left -= piece.size();
        m_socket->write(m_pending + piece);
        m_pending.clear();
    }
    if (m_left == 0)
        finish();
}

void AnswerWriter::finish()
{
    m_done = true;
    if (!m_pending.isEmpty())
        m_socket->write(m_pending); // headers of an empty body
    m_pending.clear();
    if (m_mode == Mode::LongBody)
        m_socket->write(
            QByteArray(int(qBound(qint64(16), m_answer.stream->size() / 2, qint64(64 * 1024))), 'x'));
    const bool closes = m_close || m_mode != Mode::Normal;
    if (closes)
        m_socket->disconnectFromHost(); // sends what is queued, then closes
    deleteLater();
}

} // namespace albivex::standin
