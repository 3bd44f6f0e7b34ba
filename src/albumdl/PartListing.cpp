#include "albumdl/PartListing.h"

#include "albumdl/ListPacer.h"
#include "albumdl/ServicePause.h"

namespace albivex {

PartListing::PartListing(QNetworkAccessManager &nam, const BusyRetryOptions &retry, ServicePause &pause,
                         QObject *parent)
    : QObject(parent), m_nam(nam), m_retry(retry), m_pause(pause), m_pacer(new ListPacer(pause, this))
{ }

void PartListing::cancel()
{
    ++m_generation;
    m_pacer->cancel();
    if (m_inFlight)
        m_inFlight->cancel();
}

void PartListing::paced(std::function<void()> send)
{
    m_pacer->send(std::move(send));
}

void PartListing::request(const QUrl &url, std::function<void(const ListAnswer &)> done,
                          ThrottledEmptyCheck throttledEmpty)
{
    m_pacer->noteSent();
    m_inFlight = FetchList(
        m_nam, url, m_retry, this,
        [this, done = std::move(done), generation = m_generation](const ListAnswer &answer) {
            if (generation != m_generation)
                return;
            m_pause.noteListAnswer(answer.verdict.state == AnswerState::Busy);
            done(answer);
        },
        std::move(throttledEmpty));
}

// A busy answer to a request sent before a pause that has ended since (its retries
// outlasted the pause) says nothing of the service now.
void PartListing::busy(bool emptyPage)
{
    if (m_pacer->pauseEndedSinceSent())
        goOn();
    else
        Q_EMIT turnedAway(emptyPage);
}

bool PartListing::settledBeforeReading(const ListAnswer &answer)
{
    if (answer.verdict.state == AnswerState::Expired) {
        Q_EMIT expired();
        return true;
    }
    if (answer.verdict.state == AnswerState::Busy) {
        busy(answer.throttledEmpty);
        return true;
    }
    if (answer.text.isEmpty()) {
        Q_EMIT failed();
        return true;
    }
    return false;
}

bool PartListing::settledByPage(const AnswerVerdict &verdict, const std::optional<int> &code,
                                const QString &message)
{
    switch (ClassifyMoodAnswer(verdict, message)) {
    case MoodAnswer::Refused:
        Q_EMIT refused(message);
        return true;
    case MoodAnswer::Expired:
        Q_EMIT expired();
        return true;
    case MoodAnswer::Busy:
        busy(false);
        return true;
    case MoodAnswer::Posts:
        break;
    }
    if (!code) {
        Q_EMIT failed(); // not a list answer at all
        return true;
    }
    return false;
}

} // namespace albivex
