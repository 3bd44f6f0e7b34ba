#include "moodsdl/MoodListing.h"

#include "qzone/MoodListParser.h"
#include "qzone/MoodRequest.h"

namespace albivex {

MoodListing::MoodListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                         const QString &gTk, const BusyRetryOptions &retry, ServicePause &pause,
                         QObject *parent)
    : PartListing(nam, retry, pause, parent), m_endpoints(endpoints), m_uin(uin), m_gTk(gTk)
{ }

void MoodListing::fetch(int pos)
{
    m_pos = pos;
    m_posts.clear();
    m_detailAt = -1;
    paced([this] { sendPage(); });
}

void MoodListing::goOn()
{
    if (m_detailAt < 0)
        paced([this] { sendPage(); });
    else
        paced([this] { sendDetail(); });
}

void MoodListing::sendPage()
{
    const int pos = m_pos;
    request(
        MoodListUrl(m_endpoints, {m_uin, m_gTk, pos, MoodPageSize}),
        [this](const ListAnswer &answer) {
            readPage<MoodListPage>(answer, &ParseMoodList, [this](MoodListPage page) {
                m_total = page.total;
                m_posts = std::move(page.posts);
                m_detailAt = -1;
                nextDetail();
            });
        },
        // A page of code 0 that lists nothing short of the count sheds load.
        [pos](QStringView text) {
            const MoodListPage page = ParseMoodList(text.toString());
            return page.code.value_or(0) == 0 && MoodPageLooksBusy(pos, page.total, int(page.posts.size()));
        });
}

void MoodListing::nextDetail()
{
    while (++m_detailAt < m_posts.size()) {
        if (MoodNeedsDetail(m_posts.at(m_detailAt)) && !m_posts.at(m_detailAt).tid.isEmpty()) {
            paced([this] { sendDetail(); });
            return;
        }
    }
    m_detailAt = -1;
    Q_EMIT pageReady(m_pos, m_total, std::exchange(m_posts, {}));
}

void MoodListing::sendDetail()
{
    request(MoodDetailUrl(m_endpoints, m_uin, m_posts.at(m_detailAt).tid, m_gTk),
            [this](const ListAnswer &answer) { onDetail(answer); });
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
