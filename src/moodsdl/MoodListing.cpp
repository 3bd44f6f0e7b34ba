#include "moodsdl/MoodListing.h"

#include "albumdl/ListPacer.h"
#include "albumdl/ServicePause.h"
#include "network/ParseInBackground.h"
#include "qzone/MoodListParser.h"
#include "qzone/MoodRequest.h"
#include "qzone/MoodVerdict.h"

namespace albivex {

MoodListing::MoodListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                         const QString &gTk, const BusyRetryOptions &retry, ServicePause &pause,
                         QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_endpoints(endpoints)
    , m_uin(uin)
    , m_gTk(gTk)
    , m_retry(retry)
    , m_pause(pause)
    , m_pacer(new ListPacer(pause, this))
{ }

void MoodListing::fetch(int pos)
{
    m_pos = pos;
    m_posts.clear();
    m_detailAt = -1;
    paced(&MoodListing::sendPage);
}

void MoodListing::goOn()
{
    paced(m_detailAt < 0 ? &MoodListing::sendPage : &MoodListing::sendDetail);
}

void MoodListing::cancel()
{
    ++m_generation;
    m_pacer->cancel();
    if (m_inFlight)
        m_inFlight->cancel();
}

void MoodListing::paced(void (MoodListing::*send)())
{
    m_pacer->send([this, send] { (this->*send)(); });
}

ListFetch *MoodListing::request(const QUrl &url, void (MoodListing::*done)(const ListAnswer &))
{
    m_pacer->noteSent();
    const int generation = m_generation;
    return FetchList(m_nam, url, m_retry, this, [this, done, generation](const ListAnswer &answer) {
        if (generation != m_generation)
            return;
        m_pause.noteListAnswer(answer.verdict.state == AnswerState::Busy);
        (this->*done)(answer);
    });
}

// A busy answer to a request sent before a pause that has ended since (its retries
// outlasted the pause) says nothing of the service now: asked again, without a pause.
void MoodListing::busy(bool emptyPage)
{
    if (m_pacer->pauseEndedSinceSent()) {
        goOn();
        return;
    }
    Q_EMIT turnedAway(emptyPage);
}

void MoodListing::sendPage()
{
    const int pos = m_pos;
    m_inFlight = FetchList(
        m_nam, MoodListUrl(m_endpoints, {m_uin, m_gTk, pos, MoodPageSize}), m_retry, this,
        [this, generation = m_generation](const ListAnswer &answer) {
            if (generation != m_generation)
                return;
            m_pause.noteListAnswer(answer.verdict.state == AnswerState::Busy);
            onPage(answer);
        },
        // A page of code 0 that lists nothing short of the count sheds load.
        [pos](QStringView text) {
            const MoodListPage page = ParseMoodList(text.toString());
            return page.code.value_or(0) == 0 && MoodPageLooksBusy(pos, page.total, int(page.posts.size()));
        });
    m_pacer->noteSent();
}

void MoodListing::onPage(const ListAnswer &answer)
{
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
    ParseInBackground<MoodListPage>(
        this, [text = answer.text] { return ParseMoodList(text); },
        [this, verdict = answer.verdict, generation = m_generation](MoodListPage page) {
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
            m_total = page.total;
            m_posts = std::move(page.posts);
            m_detailAt = -1;
            nextDetail();
        });
}

void MoodListing::nextDetail()
{
    while (++m_detailAt < m_posts.size()) {
        if (MoodNeedsDetail(m_posts.at(m_detailAt)) && !m_posts.at(m_detailAt).tid.isEmpty()) {
            paced(&MoodListing::sendDetail);
            return;
        }
    }
    m_detailAt = -1;
    Q_EMIT pageReady(m_pos, m_total, std::exchange(m_posts, {}));
}

void MoodListing::sendDetail()
{
    m_inFlight = request(MoodDetailUrl(m_endpoints, m_uin, m_posts.at(m_detailAt).tid, m_gTk),
                         &MoodListing::onDetail);
}

void MoodListing::onDetail(const ListAnswer &answer)
{
    if (answer.verdict.state == AnswerState::Expired) {
        Q_EMIT expired();
        return;
    }
    if (answer.verdict.state == AnswerState::Busy) {
        busy(false);
        return;
    }
    MoodListPage detail = ParseMoodDetail(answer.text);
    if (ClassifyMoodAnswer(answer.verdict, detail.message) == MoodAnswer::Busy) {
        busy(false);
        return;
    }
    // The list's reading stays when the service gives no post in full.
    if (detail.code.value_or(-1) == 0 && detail.posts.size() == 1
        && detail.posts.first().tid == m_posts.at(m_detailAt).tid) {
        MoodPost whole = std::move(detail.posts.first());
        // A detail answer may leave out what the list gave (the comment count).
        const MoodPost &listed = m_posts.at(m_detailAt);
        if (whole.commentTotal < listed.commentTotal)
            whole.commentTotal = listed.commentTotal;
        if (whole.comments.size() < listed.comments.size())
            whole.comments = listed.comments;
        m_posts[m_detailAt] = std::move(whole);
    }
    nextDetail();
}

} // namespace albivex
