#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QNetworkReply;

namespace albivex {

// The part every small request of the tool shares: one reply of the process's network
// manager, aborted after `idleMs` without data or once its body passes `maxBytes`
// (so that no answer can exhaust the tool's memory), and reported once. A subclass
// starts its request, hands the reply to watch() and turns the body into its result
// in report(). Owned by the caller's context object; deletes itself after reporting.
class BoundedReply : public QObject
{
    Q_OBJECT
public:
    // Ends the request without reporting.
    void cancel();

protected:
    BoundedReply(QObject *parent, qint64 maxBytes);

    void watch(QNetworkReply *reply, int idleMs);

    // Exactly once, unless cancelled. `ok` is false for a transport failure (no
    // connection, reset, time-out, cut-off body) or an answer over the cap. An HTTP
    // error status is not one: the services' error pages are answers like any other.
    virtual void report(bool ok, const QByteArray &body, const QByteArray &contentType) = 0;
    // After a transport failure, before it is reported: a subclass that asks somewhere
    // else instead hands the new reply to watch() and returns true; then nothing is
    // reported for the failed one.
    virtual bool askElsewhere(const QNetworkReply &failed)
    {
        Q_UNUSED(failed);
        return false;
    }

    // The HTTP status of the answer being reported; 0 when none came.
    int httpStatus() const { return m_httpStatus; }

private:
    void onFinished();

    QPointer<QNetworkReply> m_reply;
    qint64 m_maxBytes;
    bool m_tooLarge = false;
    int m_httpStatus = 0;
};

} // namespace albivex
