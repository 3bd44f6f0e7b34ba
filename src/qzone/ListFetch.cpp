#include "qzone/ListFetch.h"

#include "network/FetchText.h"

namespace albivex {

ListFetch::ListFetch(QNetworkAccessManager &nam, const QUrl &url, const BusyRetryOptions &retry,
                     QObject *parent, ThrottledEmptyCheck throttledEmpty)
    : QObject(parent), m_nam(nam), m_url(url), m_retry(retry), m_throttledEmpty(std::move(throttledEmpty))
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &ListFetch::send);
}

void ListFetch::start()
{
    send();
}

void ListFetch::cancel()
{
    if (m_done)
        return;
    m_done = true;
    m_pause.stop();
    if (m_inFlight)
        m_inFlight->cancel();
    deleteLater();
}

void ListFetch::send()
{
    m_inFlight = FetchTextAnswer(m_nam, m_url, this, [this](const TextAnswer &answer) { onAnswer(answer); });
}

void ListFetch::onAnswer(const TextAnswer &answer)
{
    m_inFlight = nullptr;
    if (m_done)
        return;
    AnswerVerdict verdict = ReadAnswerVerdict(answer.httpStatus, answer.text);
    // Only a whole answer that says code 0 can be a throttled list: a failed request
    // is no list at all.
    const bool throttledEmpty = verdict.state == AnswerState::Ok && verdict.code == 0 && m_throttledEmpty
        && m_throttledEmpty(answer.text);
    if (throttledEmpty)
        verdict.state = AnswerState::Busy;
    if (verdict.state == AnswerState::Busy && m_retries < m_retry.waitsMs.size()) {
        m_pause.start(qMax(0, m_retry.waitsMs.at(m_retries++)));
        return;
    }
    m_done = true;
    Q_EMIT finished(ListAnswer {answer.text, verdict, throttledEmpty});
    deleteLater();
}

ListFetch *FetchList(QNetworkAccessManager &nam, const QUrl &url, const BusyRetryOptions &retry,
                     QObject *context, std::function<void(const ListAnswer &)> done,
                     ThrottledEmptyCheck throttledEmpty)
{
    auto *fetch = new ListFetch(nam, url, retry, context, std::move(throttledEmpty));
    QObject::connect(fetch, &ListFetch::finished, context,
                     [done = std::move(done)](const ListAnswer &answer) { done(answer); });
    fetch->start();
    return fetch;
}

} // namespace albivex
