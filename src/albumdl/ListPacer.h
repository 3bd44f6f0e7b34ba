#pragma once

#include <QObject>

#include <functional>

namespace albivex {

class ServicePause;

// When a run's list requests may go, as the run's ServicePause says: never while a
// pause lasts, and no sooner than the gap it keeps between list requests. A request
// handed in during a pause is held and sent once the pause is over (its resumed()); one
// handed in inside the gap waits for it, and is held if a pause began meanwhile.
//
// It also tells whether a pause has ended since the last request was sent: a busy
// answer to such a request (its retries outlasted the pause) says nothing of the
// service now, and is asked again rather than answered with a new pause.
//
// The 说说 and 留言板 listings share it, so that every list of a run keeps one pace.
class ListPacer : public QObject
{
    Q_OBJECT
public:
    ListPacer(ServicePause &pause, QObject *parent);

    // Runs `send` now, after the gap, or after the pause; a later call replaces a
    // request still waiting.
    void send(std::function<void()> send);
    // Forgets the request waiting; it is not sent.
    void cancel();
    // A list request is being sent now (counted for the gap and the pauses).
    void noteSent();
    bool pauseEndedSinceSent() const { return m_pausesAtSend != m_pausesEnded; }

private:
    void trySend();

    ServicePause &m_pause;
    std::function<void()> m_waiting;
    bool m_held = false; // m_waiting goes once the pause is over
    int m_generation = 0; // bumped by send() and cancel(): a gap's timer of an earlier request does nothing
    int m_pausesEnded = 0;
    int m_pausesAtSend = 0;
};

} // namespace albivex
