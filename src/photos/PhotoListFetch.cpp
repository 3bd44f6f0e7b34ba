#include "photos/PhotoListFetch.h"

#include "network/ParseInBackground.h"
#include "qzone/PhotoListParser.h"
#include "session/WindowState.h"

#include <QTimer>

namespace albivex {

PhotoListFetch::PhotoListFetch(QNetworkAccessManager &nam, const Endpoints &endpoints,
                               const PhotoListRequest &first, int albumPictureCount, QObject *parent,
                               const BusyRetryOptions &busyRetry)
    : QObject(parent)
    , m_nam(nam)
    , m_endpoints(endpoints)
    , m_request(first)
    , m_albumCount(albumPictureCount)
    , m_busyRetry(busyRetry)
{ }

int PhotoListFetch::expectedTotal() const
{
    return qMax(m_received, qMax(m_albumCount, m_answerTotal));
}

void PhotoListFetch::start()
{
    if (m_started)
        return;
    m_started = true;
    requestPage();
}

void PhotoListFetch::cancel()
{
    if (m_done)
        return;
    m_done = true;
    if (m_inFlight)
        m_inFlight->cancel();
    deleteLater();
}

void PhotoListFetch::requestPage()
{
    // A code-0 page without pictures while the album's own count says more remain is
    // the service shedding load, not the album's end: it is asked again.
    if (m_pacing.waitMs) {
        if (const int wait = m_pacing.waitMs(); wait > 0) {
            QTimer::singleShot(wait, this, [this] {
                if (!m_done)
                    requestPage();
            });
            return;
        }
    }
    if (m_pacing.sent)
        m_pacing.sent();
    const int received = m_received;
    m_inFlight = FetchList(
        m_nam, PhotoListUrl(m_endpoints, m_request), m_busyRetry, this,
        [this](const ListAnswer &answer) { onAnswer(answer); },
        [received](QStringView text) { return ListsNoPicture(text) && TotalInAlbum(text) > received; });
}

void PhotoListFetch::onAnswer(const ListAnswer &listAnswer)
{
    m_inFlight = nullptr;
    if (m_done)
        return;
    if (m_pacing.answered)
        m_pacing.answered(listAnswer.verdict.state == AnswerState::Busy);
    if (listAnswer.verdict.state != AnswerState::Ok) {
        m_ending = listAnswer.verdict.state;
        if (listAnswer.throttledEmpty)
            m_answerTotal = qMax(m_answerTotal, TotalInAlbum(listAnswer.text));
        end();
        return;
    }
    if (IsWrongAnswer(listAnswer.text)) {
        m_wrongAnswer = true;
        end();
        return;
    }
    const QString answer = listAnswer.text;
    const int firstNumber = m_received + 1;
    ParseInBackground<ParsedPage>(
        this,
        [answer, firstNumber] {
            return ParsedPage {ParsePhotoList(answer, firstNumber), TotalInAlbum(answer)};
        },
        [this](ParsedPage parsed) { onPage(parsed.entries, parsed.total); });
}

void PhotoListFetch::onPage(const QList<PhotoEntry> &page, int answerTotal)
{
    if (m_done)
        return;
    m_answerTotal = qMax(m_answerTotal, answerTotal);
    // A service that ignores pageStart would hand the same page out again and again.
    const bool repeated = !page.isEmpty() && !m_lastFirstUrl.isEmpty() && page.first().url == m_lastFirstUrl;
    if (!page.isEmpty() && !repeated) {
        m_lastFirstUrl = page.first().url;
        m_received += static_cast<int>(page.size());
        Q_EMIT pageArrived(page);
        if (m_done) // cancelled from a slot
            return;
    }
    if (!page.isEmpty() && !repeated && m_received < expectedTotal()) {
        m_request.pageStart = m_received;
        requestPage();
        return;
    }
    end();
}

void PhotoListFetch::end()
{
    m_done = true;
    Q_EMIT finished(m_received);
    deleteLater();
}

PhotoListRequest FirstPhotoPage(const WindowState &state, const QString &albumId,
                                const AlbumAnswerKeys &answer)
{
    PhotoListRequest request;
    request.otherSpace = state.listShowsOtherQq;
    request.ownerUin = state.listedOwnerUin;
    request.uin = state.credentials.uin;
    request.gTk = state.credentials.tokenFor(request.endpoint());
    request.albumId = albumId;
    request.question = answer.question;
    request.answer = answer.answer;
    return request;
}

} // namespace albivex
