#include "albumdl/ListPacer.h"

#include "albumdl/ServicePause.h"

#include <QTimer>

namespace albivex {

ListPacer::ListPacer(ServicePause &pause, QObject *parent) : QObject(parent), m_pause(pause)
{
    connect(&m_pause, &ServicePause::resumed, this, [this] {
        ++m_pausesEnded;
        if (std::exchange(m_held, false))
            trySend();
    });
}

void ListPacer::send(std::function<void()> send)
{
    ++m_generation;
    m_held = false;
    m_waiting = std::move(send);
    trySend();
}

void ListPacer::cancel()
{
    ++m_generation;
    m_held = false;
    m_waiting = nullptr;
}

void ListPacer::noteSent()
{
    m_pause.noteListRequest();
    m_pausesAtSend = m_pausesEnded;
}

void ListPacer::trySend()
{
    if (!m_waiting)
        return;
    // No request while the run is paused: it goes once the pause is over.
    if (m_pause.isPaused()) {
        m_held = true;
        return;
    }
    const int wait = m_pause.listWaitMs();
    if (wait <= 0) {
        std::exchange(m_waiting, nullptr)();
        return;
    }
    QTimer::singleShot(wait, this, [this, generation = m_generation] {
        if (generation == m_generation)
            trySend(); // a pause may have begun meanwhile
    });
}

} // namespace albivex
