#include "boarddl/BoardListing.h"

#include "albumdl/ListPacer.h"
#include "albumdl/ServicePause.h"
#include "network/ParseInBackground.h"
#include "qzone/BoardListParser.h"
#include "qzone/BoardRequest.h"
#include "qzone/MoodVerdict.h"

namespace albivex {

BoardListing::BoardListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &viewerUin,
                           const QString &hostUin, const QString &gTk, const BusyRetryOptions &retry,
                           ServicePause &pause, QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_endpoints(endpoints)
    , m_viewerUin(viewerUin)
    , m_hostUin(hostUin)
    , m_gTk(gTk)
    , m_retry(retry)
    , m_pause(pause)
    , m_pacer(new ListPacer(pause, this))
{ }

void BoardListing::fetch(int start)
{
    m_start = start;
    goOn();
}

void BoardListing::goOn()
{
    m_pacer->send([this] { send(); });
}

void BoardListing::cancel()
{
    ++m_generation;
    m_pacer->cancel();
    if (m_inFlight)
        m_inFlight->cancel();
}

void BoardListing::send()
{
    const int start = m_start;
    m_pacer->noteSent();
    m_inFlight = FetchList(
        m_nam, BoardUrl(m_endpoints, {m_viewerUin, m_hostUin, m_gTk, start, BoardPageSize}), m_retry, this,
        [this, generation = m_generation](const ListAnswer &answer) {
            if (generation != m_generation)
                return;
            m_pause.noteListAnswer(answer.verdict.state == AnswerState::Busy);
            onAnswer(answer);
        },
        // A page of code 0 that lists nothing short of the count sheds load.
        [start](QStringView text) {
            const BoardListPage page = ParseBoardList(text.toString());
            return page.code.value_or(0) == 0
                && MoodPageLooksBusy(start, page.total, int(page.messages.size()));
        });
}

void BoardListing::onAnswer(const ListAnswer &answer)
{
    const auto busy = [this](bool emptyPage) {
        // Retries that outlasted a pause say nothing of the service now.
        if (m_pacer->pauseEndedSinceSent())
            goOn();
        else
            Q_EMIT turnedAway(emptyPage);
    };
    if (answer.verdict.state == AnswerState::Expired) {
        Q_EMIT expired();
        return;
    }
    if (answer.verdict.state == AnswerState::Busy) {
        busy(answer.throttledEmpty);
        return;
    }
    if (answer.text.isEmpty()) {
        Q_EMIT failed();
        return;
    }
    ParseInBackground<BoardListPage>(
        this, [text = answer.text] { return ParseBoardList(text); },
        [this, busy, verdict = answer.verdict, generation = m_generation](BoardListPage page) {
            if (generation != m_generation)
                return;
            switch (ClassifyMoodAnswer(verdict, page.message)) {
            case MoodAnswer::Refused:
                Q_EMIT refused(page.message);
                return;
            case MoodAnswer::Expired:
                Q_EMIT expired();
                return;
            case MoodAnswer::Busy:
                busy(false);
                return;
            case MoodAnswer::Posts:
                break;
            }
            if (!page.code) {
                Q_EMIT failed(); // not a list answer at all
                return;
            }
            Q_EMIT pageReady(m_start, page.total, page.messages);
        });
}

} // namespace albivex
